// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <memory>

struct Bike;

namespace Ui {
class BikeTabPage;
}

/// One bike's values of the day in the main window: distances as the device shows them (km or
/// miles), ride time, speeds in km/h and altitudes in metres, all but the distances changeable.
class BikeTabPage : public QWidget
{
    Q_OBJECT

public:
    explicit BikeTabPage(QWidget *parent = nullptr);
    ~BikeTabPage() override;

    /// Shows the bike's values; unitSystem is the record's (0 metric, else imperial).
    void showBike(const Bike &bike, int unitSystem);
    /// Overwrites the bike's changeable values with what the page shows; distances stay.
    void storeInto(Bike &bike) const;

private:
    std::unique_ptr<Ui::BikeTabPage> ui;
};
