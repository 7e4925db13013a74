// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWizardPage>

#include <memory>

class ComConnection;

namespace Ui {
class ChooseFilePage;
}

/// Page 5, the last one: the output file. Finish writes the ride, as FIT when the name ends
/// in ".fit" and as a CSV log line otherwise; a failed export keeps the wizard on this page.
/// Values a FIT file cannot hold are told before it is written.
class ChooseFilePage : public QWizardPage
{
    Q_OBJECT

public:
    /// The connection stays the caller's.
    explicit ChooseFilePage(ComConnection *connection, QWidget *parent = nullptr);
    ~ChooseFilePage() override;

    int nextId() const override;
    /// Proposes a file name in the folder used last, shown in the empty output field.
    void initializePage() override;
    /// Runs the export; true lets the wizard finish.
    bool validatePage() override;

private slots:
    void onSearchButton();

private:
    bool exportRide(QString *reason);
    /// The proposed file in the folder used last; empty without an identified device.
    QString proposedPath() const;

    std::unique_ptr<Ui::ChooseFilePage> ui;
    ComConnection *connection;
};
