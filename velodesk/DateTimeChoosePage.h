// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWizardPage>

#include <memory>

namespace Ui {
class DateTimeChoosePage;
}

/// Page 2: the date and start time of the ride and the bike whose values are exported.
class DateTimeChoosePage : public QWizardPage
{
    Q_OBJECT

public:
    explicit DateTimeChoosePage(QWidget *parent = nullptr);
    ~DateTimeChoosePage() override;

private:
    std::unique_ptr<Ui::DateTimeChoosePage> ui;
};
