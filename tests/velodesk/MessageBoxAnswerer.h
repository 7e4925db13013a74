#pragma once

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>

/// Answers the modal message boxes that the program opens while a test waits: notes the
/// title, text and icon of each and presses its OK button.
class MessageBoxAnswerer : public QObject
{
public:
    struct Box
    {
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
    };

    explicit MessageBoxAnswerer(QObject *parent = nullptr);

    QList<Box> boxes() const { return seen; }

private:
    void answer();

    QTimer timer;
    QList<Box> seen;
};
