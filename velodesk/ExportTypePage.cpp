// SPDX-License-Identifier: GPL-3.0-or-later
#include "velodesk/ExportTypePage.h"

#include "ui_ExportTypePage.h"

#include "velodesk/WizardPageId.h"

ExportTypePage::ExportTypePage(QWidget *parent) : QWizardPage(parent), ui(std::make_unique<Ui::ExportTypePage>())
{
    ui->setupUi(this);
    registerField(QStringLiteral("type_fit"), ui->radioButton);
}

ExportTypePage::~ExportTypePage() = default;

int ExportTypePage::nextId() const
{
    return ui->radioButton->isChecked() ? ChooseFilePageId : UploadPageId;
}
