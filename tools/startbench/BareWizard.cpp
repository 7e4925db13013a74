// SPDX-License-Identifier: GPL-3.0-or-later
// The baseline: a one-page wizard with a title and a line of text, nothing else.
#include "FirstPaintProbe.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWizard>
#include <QWizardPage>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWizard wizard;
    auto *page = new QWizardPage;
    page->setTitle(QStringLiteral("Introduction"));
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(QStringLiteral("A bare wizard page.")));
    wizard.addPage(page);
    FirstPaintProbe probe(&wizard);
    wizard.show();
    return app.exec();
}
