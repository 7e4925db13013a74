// SPDX-License-Identifier: GPL-3.0-or-later
#include "outpost/UploadDialog.h"

#include "outpost/SporticsUploader.h"
#include "ui_UploadDialog.h"

#include <QMessageBox>

UploadDialog::UploadDialog(const QByteArray &record, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::UploadDialog>()), m_record(record),
      m_uploader(new SporticsUploader(this))
{
    m_ui->setupUi(this);
    connect(m_ui->buttonBox, &QDialogButtonBox::accepted, this, &UploadDialog::accept);
    connect(m_ui->buttonBox, &QDialogButtonBox::rejected, this, &UploadDialog::reject);
    connect(m_uploader, &SporticsUploader::uploadComplete, this, &UploadDialog::uploadComplete);
    connect(m_uploader, &SporticsUploader::uploadFailed, this, &UploadDialog::uploadFailed);
    m_ui->progressBar->setRange(0, 0);
    m_ui->progressBar->hide();
    m_ui->statusLabel->hide();
}

UploadDialog::~UploadDialog() = default;

void UploadDialog::accept()
{
    m_ui->progressBar->setRange(0, 0);
    m_ui->progressBar->show();
    m_ui->statusLabel->setText(tr("Uploading ..."));
    m_ui->statusLabel->show();
    m_uploader->upload(m_ui->userLineEdit->text(), m_ui->passwordLineEdit->text(), m_record);
}

void UploadDialog::reject()
{
    m_uploader->abort();
    QDialog::reject();
}

void UploadDialog::uploadComplete()
{
    showFinished(1);
    QMessageBox::information(this, tr("Upload Complete"), tr("Upload completed successfully!"), QMessageBox::Ok);
    QDialog::accept();
}

void UploadDialog::uploadFailed()
{
    showFinished(0);
    QMessageBox::critical(this, tr("Upload failed"), tr("Upload Failed! Please check your inputs."), QMessageBox::Ok);
}

void UploadDialog::showFinished(int value)
{
    m_ui->progressBar->setMaximum(1);
    m_ui->progressBar->setValue(value);
}
