// SPDX-License-Identifier: GPL-3.0-or-later
#include "velodesk/UploadPage.h"

#include "ui_UploadPage.h"

UploadPage::UploadPage(QWidget *parent) : QWizardPage(parent), ui(std::make_unique<Ui::UploadPage>())
{
    ui->setupUi(this);
    registerField(QStringLiteral("username*"), ui->usernameEdit);
    registerField(QStringLiteral("password*"), ui->passwordEdit);
}

UploadPage::~UploadPage() = default;
