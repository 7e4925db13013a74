// SPDX-License-Identifier: GPL-3.0-or-later
// The input checks of the value page: patterns, the field limits and the ride time of day.

#include "velodesk/FieldLimitValidator.h"
#include "velodesk/RideTimeValidator.h"

#include <QTest>

Q_DECLARE_METATYPE(QValidator::State)

class ValueValidatorsTest : public QObject
{
    Q_OBJECT

private slots:
    void fieldLimit_data();
    void fieldLimit();
    void rideTime_data();
    void rideTime();
    void readTime_data();
    void readTime();
    void format_data();
    void format();
};

void ValueValidatorsTest::fieldLimit_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<double>("largest");
    QTest::addColumn<double>("scale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QValidator::State>("state");

    const QString count = QStringLiteral("\\d*");
    const QString speed = QStringLiteral("\\d{0,3}\\.\\d{0,1}");
    const QString distance = QStringLiteral("\\d*\\.\\d{0,3}");
    QTest::newRow("255 in 8 bits") << count << 255.0 << 1.0 << "255" << QValidator::Acceptable;
    QTest::newRow("256 in 8 bits") << count << 255.0 << 1.0 << "256" << QValidator::Invalid;
    QTest::newRow("300 in 8 bits") << count << 255.0 << 1.0 << "300" << QValidator::Invalid;
    QTest::newRow("empty count") << count << 255.0 << 1.0 << "" << QValidator::Acceptable;
    QTest::newRow("letter") << count << 255.0 << 1.0 << "1a" << QValidator::Invalid;
    QTest::newRow("speed without point") << speed << 65535.0 << 10.0 << "25" << QValidator::Intermediate;
    QTest::newRow("speed") << speed << 65535.0 << 10.0 << "25.5" << QValidator::Acceptable;
    QTest::newRow("speed, two decimals") << speed << 65535.0 << 10.0 << "25.55" << QValidator::Invalid;
    QTest::newRow("speed in mph, largest") << speed << 65535.0 << 16.09344 << "999.9" << QValidator::Acceptable;
    QTest::newRow("km that fit") << distance << 4294967295.0 << 1e6 << "4294.967" << QValidator::Acceptable;
    QTest::newRow("km that do not fit") << distance << 4294967295.0 << 1e6 << "4294.968" << QValidator::Invalid;
    QTest::newRow("miles that fit") << distance << 4294967295.0 << 1609344.0 << "2668.768" << QValidator::Acceptable;
    QTest::newRow("miles that do not fit") << distance << 4294967295.0 << 1609344.0 << "2668.769" << QValidator::Invalid;
    QTest::newRow("lone point") << distance << 4294967295.0 << 1e6 << "." << QValidator::Acceptable;
}

void ValueValidatorsTest::fieldLimit()
{
    QFETCH(QString, pattern);
    QFETCH(double, largest);
    QFETCH(double, scale);
    QFETCH(QString, text);
    QFETCH(QValidator::State, state);

    FieldLimitValidator validator(pattern, largest, scale);
    int position = int(text.size());
    QString input = text;
    QCOMPARE(validator.validate(input, position), state);
    QCOMPARE(validator.getScale(), scale);
}

void ValueValidatorsTest::rideTime_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QValidator::State>("state");

    QTest::newRow("whole") << "01:52:37" << QValidator::Acceptable;
    QTest::newRow("one-digit parts") << "1:2:3" << QValidator::Acceptable;
    QTest::newRow("last second of a day") << "23:59:59" << QValidator::Acceptable;
    QTest::newRow("hour 24") << "24:00:00" << QValidator::Invalid;
    QTest::newRow("hour 24 alone") << "24" << QValidator::Invalid;
    QTest::newRow("minute 60") << "10:60:00" << QValidator::Invalid;
    QTest::newRow("minute 60 while typing") << "10:60" << QValidator::Invalid;
    QTest::newRow("second 60") << "10:00:60" << QValidator::Invalid;
    QTest::newRow("incomplete") << "10:0" << QValidator::Intermediate;
    QTest::newRow("empty") << "" << QValidator::Intermediate;
    QTest::newRow("three digits") << "100:00:00" << QValidator::Invalid;
    QTest::newRow("letters") << "1a:00:00" << QValidator::Invalid;
}

void ValueValidatorsTest::rideTime()
{
    QFETCH(QString, text);
    QFETCH(QValidator::State, state);

    RideTimeValidator validator;
    int position = int(text.size());
    QString input = text;
    QCOMPARE(validator.validate(input, position), state);
}

void ValueValidatorsTest::readTime_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QTime>("time");

    QTest::newRow("two-digit parts") << "01:52:37" << QTime(1, 52, 37);
    QTest::newRow("one-digit parts") << "1:2:3" << QTime(1, 2, 3);
    QTest::newRow("midnight") << "00:00:00" << QTime(0, 0, 0);
    QTest::newRow("25 hours") << "25:10:00" << QTime();
    QTest::newRow("incomplete") << "12:3" << QTime();
    QTest::newRow("trailing colon") << "12:30:" << QTime();
    QTest::newRow("empty") << "" << QTime();
    QTest::newRow("blank around") << " 12:30:00" << QTime();
}

void ValueValidatorsTest::readTime()
{
    QFETCH(QString, text);
    QFETCH(QTime, time);

    const QTime read = RideTimeValidator::readTime(text);
    QCOMPARE(read.isValid(), time.isValid());
    if (time.isValid())
        QCOMPARE(read, time);
}

void ValueValidatorsTest::format_data()
{
    QTest::addColumn<int>("hours");
    QTest::addColumn<int>("minutes");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<QString>("text");

    QTest::newRow("time of day") << 1 << 52 << 37 << "01:52:37";
    QTest::newRow("zero") << 0 << 0 << 0 << "00:00:00";
    QTest::newRow("more than a day") << 25 << 10 << 0 << "25:10:00";
}

void ValueValidatorsTest::format()
{
    QFETCH(int, hours);
    QFETCH(int, minutes);
    QFETCH(int, seconds);
    QFETCH(QString, text);

    QCOMPARE(RideTimeValidator::format(hours, minutes, seconds), text);
}

QTEST_MAIN(ValueValidatorsTest)
#include "tst_valuevalidators.moc"
