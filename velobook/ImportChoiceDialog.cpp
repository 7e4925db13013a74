// SPDX-License-Identifier: GPL-3.0-or-later
#include "velobook/ImportChoiceDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

ImportChoiceDialog::ImportChoiceDialog(const QStringList &modelNames, int logCount, QWidget *parent)
    : QDialog(parent), m_bike(new QComboBox(this)), m_model(new QComboBox(this))
{
    setWindowTitle(tr("Import CSV logs"));
    auto *question = new QLabel(logCount == 1 ? tr("Which bike and which bike computer are the rides of the log from?")
                                              : tr("Which bike and which bike computer are the rides of the %n logs "
                                                   "from?", nullptr, logCount),
                                this);
    question->setWordWrap(true);

    m_bike->setObjectName(QStringLiteral("bikeBox"));
    m_bike->setAccessibleName(tr("Bike"));
    m_bike->addItem(tr("Bike 1"), 1);
    m_bike->addItem(tr("Bike 2"), 2);

    m_model->setObjectName(QStringLiteral("modelBox"));
    m_model->setAccessibleName(tr("Bike computer"));
    // An unknown model keeps the rides, but they cannot be written as a model's rides again.
    m_model->addItem(tr("Unknown"), QString());
    for (const QString &name : modelNames)
        m_model->addItem(name, name);

    auto *form = new QFormLayout;
    form->addRow(tr("&Bike:"), m_bike);
    form->addRow(tr("Bike &computer:"), m_model);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(question);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

int ImportChoiceDialog::bike() const
{
    return m_bike->currentData().toInt();
}

QString ImportChoiceDialog::model() const
{
    return m_model->currentData().toString();
}
