// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileDialogAnswerer.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>

FileDialogAnswerer::FileDialogAnswerer(const QString &path, const QString &nameFilter, QObject *parent)
    : QObject(parent), path(path), nameFilter(nameFilter)
{
    timer.setInterval(20);
    connect(&timer, &QTimer::timeout, this, &FileDialogAnswerer::answer);
    timer.start();
}

void FileDialogAnswerer::answer()
{
    auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible())
        return;
    auto *nameEdit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    seen.append({dialog->windowTitle(), dialog->nameFilters(), dialog->directory().absolutePath(), nameEdit->text()});
    if (path.isEmpty()) {
        dialog->reject();
        return;
    }
    if (!nameFilter.isEmpty())
        dialog->selectNameFilter(nameFilter);
    nameEdit->setText(path);
    dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Save)->click();
}
