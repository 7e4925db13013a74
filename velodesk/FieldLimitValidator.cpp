// SPDX-License-Identifier: GPL-3.0-or-later
#include "velodesk/FieldLimitValidator.h"

#include <QRegularExpression>

#include <cmath>

FieldLimitValidator::FieldLimitValidator(const QString &pattern, double largestStored, double scale, QObject *parent)
    : QRegularExpressionValidator(QRegularExpression(pattern), parent), largestStored(largestStored), scale(scale)
{
}

void FieldLimitValidator::setScale(double newScale)
{
    scale = newScale;
}

QValidator::State FieldLimitValidator::validate(QString &input, int &pos) const
{
    const State state = QRegularExpressionValidator::validate(input, pos);
    if (state == Invalid || fits(input))
        return state;
    // More digits cannot make the number smaller: refuse the keystroke.
    return Invalid;
}

bool FieldLimitValidator::fits(const QString &text) const
{
    bool ok = false;
    const double shown = text.toDouble(&ok);
    if (!ok)
        return true; // empty or a lone point: stored as 0
    return std::trunc(shown * scale) <= largestStored;
}
