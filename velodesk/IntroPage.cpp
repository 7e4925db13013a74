// SPDX-License-Identifier: GPL-3.0-or-later
#include "velodesk/IntroPage.h"

#include "ui_IntroPage.h"

IntroPage::IntroPage(QWidget *parent) : QWizardPage(parent), ui(std::make_unique<Ui::IntroPage>())
{
    ui->setupUi(this);
    registerField(QStringLiteral("show_on_next"), ui->checkBox);
}

IntroPage::~IntroPage() = default;
