// SPDX-License-Identifier: GPL-3.0-or-later
#include "logbook/CsvLogLine.h"

#include "linkhub/UnitFactors.h"

#include <QLocale>
#include <QTime>
#include <QVarLengthArray>

#include <array>
#include <charconv>
#include <cmath>

namespace {

const QString MetricUnits = QStringLiteral("km/kmph/meter/Celsius");
const QString ImperialUnits = QStringLiteral("miles/mph/feet/Fahrenheit");
const QString NotAvailable = QStringLiteral("-");
// The units and the date come first, then the ride's values in their own order.
constexpr int UnitsColumn = 0;
constexpr int DateColumn = 1;
constexpr int FirstValueColumn = 2;
constexpr int FirstAltitudeColumn = FirstValueColumn + int(RideValue::MaxAltitude); // "Max. altitude"

bool isDuration(RideValue value)
{
    return value == RideValue::RideTime || value == RideValue::HrInZone || value == RideValue::HrLowerZone
        || value == RideValue::HrUpperZone;
}

bool isTemperature(RideValue value)
{
    return value == RideValue::MaxTemperature || value == RideValue::MinTemperature;
}

using Columns = QVarLengthArray<QStringView, CsvLogLine::ColumnCount + 1>;

// Where the next "; " begins, as indexOf(u"; ") finds it; a search for the single character is
// much the quicker.
qsizetype separator(QStringView line, qsizetype from)
{
    for (qsizetype at = line.indexOf(u';', from); at >= 0; at = line.indexOf(u';', at + 1))
        if (at + 1 < line.size() && line[at + 1] == u' ')
            return at;
    return -1;
}

Columns split(QStringView line)
{
    Columns columns;
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = separator(line, from);
        if (at < 0 || columns.size() > CsvLogLine::ColumnCount) {
            columns.append(line.mid(from));
            return columns;
        }
        columns.append(line.mid(from, at - from));
        from = at + 2;
    }
}

// The value of a number column, as QStringView::toDouble() reads it. Most are plain decimals, which
// are read here without the locale machinery toDouble() runs through for each one.
double number(QStringView text, bool *ok)
{
    constexpr qsizetype Longest = 32;
    std::array<char, Longest> plain;
    qsizetype length = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool sign = u == u'-' && length == 0;
        if (length == Longest || !((u >= u'0' && u <= u'9') || u == u'.' || sign))
            return text.toDouble(ok);
        plain[length++] = char(u);
    }
    double value = 0;
    const char *end = plain.data() + length;
    const std::from_chars_result read = std::from_chars(plain.data(), end, value);
    if (read.ec != std::errc() || read.ptr != end)
        return text.toDouble(ok);
    *ok = true;
    return value;
}

// As QStringView::toInt() reads it; quicker for the few plain digits a date or time has.
int integer(QStringView text, bool *ok)
{
    constexpr qsizetype Longest = 9; // no int overflows
    int value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9' || text.size() > Longest)
            return text.toInt(ok);
        value = value * 10 + (c.unicode() - u'0');
    }
    *ok = !text.isEmpty();
    return value;
}

// hh:mm:ss in seconds, or nothing.
std::optional<qint64> clockTime(QStringView text)
{
    if (text.size() != 8 || text[2] != u':' || text[5] != u':')
        return std::nullopt;
    bool ok[3];
    const int h = integer(text.mid(0, 2), &ok[0]);
    const int m = integer(text.mid(3, 2), &ok[1]);
    const int s = integer(text.mid(6, 2), &ok[2]);
    if (!ok[0] || !ok[1] || !ok[2] || m > 59 || s > 59)
        return std::nullopt;
    return h * 3600 + m * 60 + s;
}

// hh:mm:ss, or an empty column (the log writes a day's time that is no time of day so); seconds.
std::optional<qint64> duration(QStringView text)
{
    return text.isEmpty() ? std::optional<qint64>(0) : clockTime(text);
}

} // namespace

CsvLogLine::CsvLogLine()
{
    for (const QLocale &locale : {QLocale::c(), QLocale::system()}) {
        for (int month = 1; month <= 12; ++month)
            for (QLocale::FormatType format : {QLocale::ShortFormat, QLocale::LongFormat}) {
                m_months.insert(locale.monthName(month, format).toLower(), month);
                m_months.insert(locale.standaloneMonthName(month, format).toLower(), month);
            }
    }
}

bool CsvLogLine::namesUnits(QStringView line)
{
    return line.startsWith(MetricUnits + QStringLiteral("; ")) || line.startsWith(ImperialUnits + QStringLiteral("; "));
}

qint64 CsvLogLine::distanceTolerance(int unitSystem)
{
    return qint64(std::ceil(0.0005 / UnitFactors::forSystem(unitSystem).distanceDisplay));
}

std::optional<QDateTime> CsvLogLine::dateTime(QStringView text) const
{
    // Weekday, month, day, time, year; the weekday says nothing the date does not.
    std::array<QStringView, 5> parts;
    qsizetype count = 0;
    for (QStringView rest = text; !rest.isEmpty();) {
        const qsizetype gap = rest.indexOf(u' ');
        const QStringView part = rest.left(gap < 0 ? rest.size() : gap);
        rest = gap < 0 ? QStringView() : rest.mid(gap + 1);
        if (part.isEmpty())
            continue;
        if (count == qsizetype(parts.size()))
            return std::nullopt;
        parts[count++] = part;
    }
    if (count != qsizetype(parts.size()))
        return std::nullopt;
    // A log names the same month for many lines in a row.
    if (parts[1] != m_lastMonthName) {
        m_lastMonthName = parts[1].toString();
        m_lastMonth = m_months.value(m_lastMonthName.toLower(), 0);
    }
    const int month = m_lastMonth;
    bool dayOk = false;
    bool yearOk = false;
    const QDate date(integer(parts[4], &yearOk), month, integer(parts[2], &dayOk));
    const std::optional<qint64> seconds = clockTime(parts[3]);
    if (!dayOk || !yearOk || !date.isValid() || !seconds || *seconds >= 24 * 3600)
        return std::nullopt;
    const QTime time = QTime(0, 0).addSecs(int(*seconds));
    // The offset from UTC only changes on the hour, and asking the system for it is slow: a log
    // of many rides asks once an hour of a day.
    if (date != m_offsetDate || time.hour() != m_offsetHour) {
        m_offsetDate = date;
        m_offsetHour = time.hour();
        m_offset = QDateTime(date, time).offsetFromUtc();
    }
    return QDateTime(date, time, Qt::OffsetFromUTC, m_offset);
}

std::optional<RideEntry> CsvLogLine::read(QStringView line, QString &reason) const
{
    const Columns columns = split(line);
    if (columns.size() != ColumnCount) {
        reason = tr("%1 columns instead of %2").arg(columns.size()).arg(ColumnCount);
        return std::nullopt;
    }
    RideEntry entry;
    entry.source = RideEntry::Source::Csv;
    if (columns[UnitsColumn] == MetricUnits)
        entry.unitSystem = 0;
    else if (columns[UnitsColumn] == ImperialUnits)
        entry.unitSystem = 1;
    else {
        reason = tr("the first column names no units");
        return std::nullopt;
    }
    const std::optional<QDateTime> start = dateTime(columns[DateColumn]);
    if (!start) {
        reason = tr("\"%1\" is not a date").arg(columns[DateColumn]);
        return std::nullopt;
    }
    entry.start = *start;
    entry.date = start->date();
    entry.hasAltitude = columns[FirstAltitudeColumn] != NotAvailable;

    const UnitFactors &units = UnitFactors::forSystem(entry.unitSystem);
    const bool metric = entry.unitSystem == 0;
    for (int index = 0; index < RideValueCount; ++index) {
        const RideValue which = RideValue(index);
        const QStringView text = columns[FirstValueColumn + index];
        bool ok = true;
        qint64 value = 0;
        if (isDuration(which)) {
            const std::optional<qint64> seconds = duration(text);
            ok = seconds.has_value();
            value = seconds.value_or(0);
        } else if (text == NotAvailable && (isTemperature(which) || which >= RideValue::MaxAltitude)) {
            value = 0;
        } else {
            const double read = number(text, &ok);
            double stored = read;
            if (which == RideValue::Distance)
                stored = read / units.distanceDisplay;
            else if (which == RideValue::AvgSpeed || which == RideValue::MaxSpeed)
                stored = read / units.speedDisplay * 10.0;
            else if (isTemperature(which))
                stored = metric ? read : (read - 32.0) * 5.0 / 9.0;
            else if (which >= RideValue::MaxAltitude && which <= RideValue::Descent)
                stored = read / units.altitudeDisplay;
            ok = ok && std::isfinite(stored) && (stored >= 0 || isTemperature(which))
                && stored < 1e15;
            value = std::llround(stored);
        }
        if (!ok) {
            reason = tr("column %1 holds \"%2\", which is not a value of the log").arg(FirstValueColumn + index + 1).arg(text);
            return std::nullopt;
        }
        entry.setValue(which, value);
    }
    return entry;
}
