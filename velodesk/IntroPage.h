// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWizardPage>

#include <memory>

namespace Ui {
class IntroPage;
}

/// Page 0: the welcome text and the choice to see it again on the next run.
class IntroPage : public QWizardPage
{
    Q_OBJECT

public:
    explicit IntroPage(QWidget *parent = nullptr);
    ~IntroPage() override;

private:
    std::unique_ptr<Ui::IntroPage> ui;
};
