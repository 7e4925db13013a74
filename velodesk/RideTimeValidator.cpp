// SPDX-License-Identifier: GPL-3.0-or-later
#include "velodesk/RideTimeValidator.h"

#include <QRegularExpression>

namespace {
const QString ridePattern = QStringLiteral("\\d{1,2}\\:\\d{1,2}\\:\\d{1,2}");
// Largest hour, minute and second of a time of day.
constexpr int partLimits[3] = {23, 59, 59};
}

RideTimeValidator::RideTimeValidator(QObject *parent)
    : QRegularExpressionValidator(QRegularExpression(ridePattern), parent)
{
}

QValidator::State RideTimeValidator::validate(QString &input, int &pos) const
{
    const State state = QRegularExpressionValidator::validate(input, pos);
    if (state == Invalid)
        return state;
    const QStringList parts = input.split(QLatin1Char(':'));
    for (int i = 0; i < parts.size() && i < 3; ++i) {
        if (!parts.at(i).isEmpty() && parts.at(i).toInt() > partLimits[i])
            return Invalid;
    }
    return state;
}

QTime RideTimeValidator::readTime(const QString &text)
{
    static const QRegularExpression complete(QRegularExpression::anchoredPattern(ridePattern));
    if (!complete.match(text).hasMatch())
        return QTime();
    const QStringList parts = text.split(QLatin1Char(':'));
    return QTime(parts.at(0).toInt(), parts.at(1).toInt(), parts.at(2).toInt());
}

QString RideTimeValidator::format(int hours, int minutes, int seconds)
{
    const QLatin1Char zero('0');
    return QStringLiteral("%1:%2:%3").arg(hours, 2, 10, zero).arg(minutes, 2, 10, zero).arg(seconds, 2, 10, zero);
}
