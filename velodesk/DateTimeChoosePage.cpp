// SPDX-License-Identifier: GPL-3.0-or-later
#include "velodesk/DateTimeChoosePage.h"

#include "ui_DateTimeChoosePage.h"

#include <QDateTime>

DateTimeChoosePage::DateTimeChoosePage(QWidget *parent)
    : QWizardPage(parent), ui(std::make_unique<Ui::DateTimeChoosePage>())
{
    ui->setupUi(this);
    const QDateTime now = QDateTime::currentDateTime();
    ui->dateEdit->setDate(now.date());
    ui->timeEdit->setTime(now.time());
    // Read as a calendar date and a time of day, not as the editors' whole date-time.
    registerField(QStringLiteral("date"), ui->dateEdit, "date");
    registerField(QStringLiteral("time"), ui->timeEdit, "time");
    registerField(QStringLiteral("bike1"), ui->bike1RadioButton);
}

DateTimeChoosePage::~DateTimeChoosePage() = default;
