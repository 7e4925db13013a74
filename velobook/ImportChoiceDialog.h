// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QComboBox;

/// Asks which bike and which bike computer the rides of CSV logs are from: a log names neither.
class ImportChoiceDialog : public QDialog
{
    Q_OBJECT

public:
    /// `modelNames`: the catalogue's; `logCount`: how many logs are about to be imported.
    ImportChoiceDialog(const QStringList &modelNames, int logCount, QWidget *parent = nullptr);

    /// 1 or 2.
    int bike() const;
    /// A catalogue name, or empty when the user does not know it.
    QString model() const;

private:
    QComboBox *m_bike;
    QComboBox *m_model;
};
