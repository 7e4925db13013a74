// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRegularExpressionValidator>
#include <QTime>

/// The ride-time pattern (hours, minutes, seconds of one or two digits) that also refuses parts
/// that cannot belong to a time of day, such as 25 hours or 61 minutes.
class RideTimeValidator : public QRegularExpressionValidator
{
    Q_OBJECT

public:
    explicit RideTimeValidator(QObject *parent = nullptr);

    State validate(QString &input, int &pos) const override;

    /// Reads complete ride-time text ("1:05:30" or "01:05:30") as a time of day;
    /// an invalid time for anything else.
    static QTime readTime(const QString &text);
    /// The text form of a ride time; also for 24 hours and more, which no time of day holds.
    static QString format(int hours, int minutes, int seconds);
};
