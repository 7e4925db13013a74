// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "logbook/BikeRegister.h"
#include "logbook/DisplayUnits.h"

#include <QWidget>

class Logbook;
class QChartView;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;

/// The bikes of the logbook: the name the rider gives each, its odometer over time, and the
/// distance ridden since the day the rider last serviced it.
class BikesTab : public QWidget
{
    Q_OBJECT

public:
    /// Empty until the first reload(), which the window leaves until the tab is shown.
    explicit BikesTab(Logbook &logbook, QWidget *parent = nullptr);

    /// The name the rider gave a bike, or else the model (or "Imported logs") and the bike's number.
    static QString displayName(const BikeRecord &bike);

public slots:
    /// Reads the logbook and the unit choice again.
    void reload();

signals:
    /// The rider renamed a bike or set its service day; other views may show the names.
    void bikesChanged();

private:
    QWidget *makeDetails();
    void showBike(int row);
    void showDistanceSince(const BikeRecord &bike, bool known);
    void showOdometer(const BikeRecord &bike);
    void rename();
    void setServiceDay(const QDate &day);
    /// Shows what a change of the rider's failed with, or else the bikes as they are now.
    void changed(const std::optional<LogbookError> &failure);
    void report(const std::optional<LogbookError> &failure);

    Logbook &m_logbook;
    BikeRegister m_register;
    DisplayUnits m_units;
    QList<BikeRecord> m_bikes;

    QListWidget *m_list = nullptr;
    QLineEdit *m_name = nullptr;
    QDateEdit *m_serviceDay = nullptr;
    QLabel *m_distanceSince = nullptr;
    QChartView *m_odometer = nullptr;
};
