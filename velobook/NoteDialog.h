// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QString>

class QPlainTextEdit;

/// The note of one ride, to write or change; the user sees which ride it belongs to.
class NoteDialog : public QDialog
{
    Q_OBJECT

public:
    /// `ride`: the ride in words; `note`: its note so far.
    NoteDialog(const QString &ride, const QString &note, QWidget *parent = nullptr);

    QString note() const;

private:
    QPlainTextEdit *m_note;
};
