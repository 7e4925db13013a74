#pragma once

#include <QWizardPage>

#include <memory>

class ComConnection;

namespace Ui {
class ChooseFilePage;
}

/// Page 5, the last one: the output file. Finish writes the ride, as FIT when the name ends
/// in ".fit" and as a CSV log line otherwise; a failed export keeps the wizard on this page.
class ChooseFilePage : public QWizardPage
{
    Q_OBJECT

public:
    /// The connection stays the caller's.
    explicit ChooseFilePage(ComConnection *connection, QWidget *parent = nullptr);
    ~ChooseFilePage() override;

    int nextId() const override;
    /// Runs the export; true lets the wizard finish.
    bool validatePage() override;

private slots:
    void onSearchButton();

private:
    bool exportRide();

    std::unique_ptr<Ui::ChooseFilePage> ui;
    ComConnection *connection;
};
