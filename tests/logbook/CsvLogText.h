// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDate>
#include <QLocale>
#include <QString>

/// A metric CSV log as the product writes it, with `lines` rides, one a day from 1 March 2024 on
/// and each longer than the one before, so that no two are the same ride.
inline QByteArray csvLogText(int lines, int firstKilometres = 10)
{
    QByteArray log = "Unit; Date; Ride time";
    const QDate first(2024, 3, 1);
    for (int i = 0; i < lines; ++i) {
        const QDate day = first.addDays(i);
        log += QStringLiteral("\nkm/kmph/meter/Celsius; %1 09:30:00 %2; 01:%3:00; %4.000; 800; 25.5; 48.0; 80; 110; "
                              "21; 9; 130; 171; 00:40:00; 00:10:00; 00:05:00; 812.0; 640.0; 655.0; 4; 11; 5; 12; 600; "
                              "1500; 700; 1700")
                   .arg(QLocale::c().toString(day, QStringLiteral("ddd MMM d")))
                   .arg(day.year())
                   .arg(i % 60, 2, 10, QLatin1Char('0'))
                   .arg(firstKilometres + i)
                   .toUtf8();
    }
    return log;
}
