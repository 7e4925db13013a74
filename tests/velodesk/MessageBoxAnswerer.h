// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>

/// Answers the modal message boxes that the program opens while a test waits: notes the
/// title, text, icon and informative text of each and presses its OK button.
class MessageBoxAnswerer : public QObject
{
public:
    struct Box
    {
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString informativeText;
    };

    explicit MessageBoxAnswerer(QObject *parent = nullptr);

    QList<Box> boxes() const { return seen; }

private:
    void answer();

    QTimer timer;
    QList<Box> seen;
};
