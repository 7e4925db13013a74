// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

/// Answers the modal file dialogs that the program opens while a test waits, as a person does:
/// picks the file type, types a whole path into the name field and accepts (an empty path cancels).
/// Notes what each dialog offered.
class FileDialogAnswerer : public QObject
{
public:
    struct Dialog
    {
        QString caption;
        QStringList nameFilters;
        QString directory; ///< where the dialog opened
        QString offeredName; ///< the file name it offered before anything was typed
    };

    /// path: what to type, a full path; nameFilter: the file type to pick, or empty to keep the first.
    explicit FileDialogAnswerer(const QString &path, const QString &nameFilter = QString(), QObject *parent = nullptr);

    QList<Dialog> dialogs() const { return seen; }

private:
    void answer();

    QTimer timer;
    QString path;
    QString nameFilter;
    QList<Dialog> seen;
};
