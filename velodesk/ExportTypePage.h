// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWizardPage>

#include <memory>

namespace Ui {
class ExportTypePage;
}

/// Page 4: a local file or a portal; routes the wizard to the file page or the upload page.
class ExportTypePage : public QWizardPage
{
    Q_OBJECT

public:
    explicit ExportTypePage(QWidget *parent = nullptr);
    ~ExportTypePage() override;

    int nextId() const override;

private:
    std::unique_ptr<Ui::ExportTypePage> ui;
};
