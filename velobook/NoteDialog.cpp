// SPDX-License-Identifier: GPL-3.0-or-later
#include "velobook/NoteDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

NoteDialog::NoteDialog(const QString &ride, const QString &note, QWidget *parent)
    : QDialog(parent), m_note(new QPlainTextEdit(note, this))
{
    setWindowTitle(tr("Edit note"));
    auto *label = new QLabel(tr("&Note on the ride of %1:").arg(ride), this);
    label->setBuddy(m_note);
    m_note->setObjectName(QStringLiteral("noteEdit"));
    m_note->setAccessibleName(tr("Note"));
    // Tab moves on to the buttons, so that the dialog is left without a mouse.
    m_note->setTabChangesFocus(true);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_note);
    layout->addWidget(buttons);
}

QString NoteDialog::note() const
{
    return m_note->toPlainText();
}
