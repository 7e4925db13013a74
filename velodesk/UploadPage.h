// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWizardPage>

#include <memory>

namespace Ui {
class UploadPage;
}

/// Page 6: portal, user name and password. The upload choice is disabled, so the page is not reached.
class UploadPage : public QWizardPage
{
    Q_OBJECT

public:
    explicit UploadPage(QWidget *parent = nullptr);
    ~UploadPage() override;

private:
    std::unique_ptr<Ui::UploadPage> ui;
};
