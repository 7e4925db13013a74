// SPDX-License-Identifier: GPL-3.0-or-later
#include "outpost/RawRecordReader.h"

#include "outpost/FitValues.h"

namespace {

constexpr int FlagsOffset = 14;
constexpr quint8 TimeMarkFlag = 0x20;

// Little-endian unsigned value of `size` bytes at `offset`; the caller has checked the bounds.
quint32 unsignedAt(const QByteArray &bytes, qsizetype offset, int size)
{
    quint32 value = 0;
    for (int i = 0; i < size; ++i)
        value |= quint32(quint8(bytes[offset + i])) << (8 * i);
    return value;
}

qint8 signedByteAt(const QByteArray &bytes, qsizetype offset)
{
    return qint8(bytes[offset]);
}

// Second, minute and hour as signed bytes, in seconds.
int secondsOfTime(const QByteArray &bytes, qsizetype offset)
{
    return signedByteAt(bytes, offset + 2) * 3600 + signedByteAt(bytes, offset + 1) * 60 + signedByteAt(bytes, offset);
}

// Second, minute, hour, day, month and year minus 2000 as signed bytes, read as local time; an
// invalid date-time when they name no date or no time of day.
QDateTime localDateTimeAt(const QByteArray &bytes, qsizetype offset)
{
    const QDate date(2000 + signedByteAt(bytes, offset + 5), signedByteAt(bytes, offset + 4),
                     signedByteAt(bytes, offset + 3));
    const QTime time(signedByteAt(bytes, offset + 2), signedByteAt(bytes, offset + 1), signedByteAt(bytes, offset));
    if (!date.isValid() || !time.isValid())
        return QDateTime();
    return QDateTime(date, time);
}

// A clock time skipped by the switch to summer time gives an invalid local date-time that still
// names an instant, so the date and time are checked on their own.
bool namesAnInstant(const QDateTime &dateTime)
{
    return dateTime.date().isValid() && dateTime.time().isValid();
}

} // namespace

RawRecordReader::RawRecordReader(const QByteArray &bytes) : m_bytes(bytes)
{
    if (bytes.size() < ParsedRecord::HeaderSize)
        return;
    ParsedRecord &h = m_header;
    h.start = localDateTimeAt(bytes, 0);
    if (!namesAnInstant(h.start))
        return;
    h.startTimestamp = FitValues::fitTimestamp(h.start);
    h.maxTemperature = signedByteAt(bytes, 6);
    h.headerParamA = signedByteAt(bytes, 7);
    h.avgHeartRate = quint8(bytes[8]);
    h.maxHeartRate = quint8(bytes[9]);
    h.timeParamA = secondsOfTime(bytes, 10);
    h.hrInZoneSeconds = secondsOfTime(bytes, 13);
    h.timeParamB = secondsOfTime(bytes, 16);
    h.maxSpeed = quint16(unsignedAt(bytes, 19, 2));
    h.avgSpeed = quint16(unsignedAt(bytes, 21, 2));
    h.distance = unsignedAt(bytes, 24, 4);
    h.durationParam = qint16(unsignedAt(bytes, 30, 2)) * 3600 + signedByteAt(bytes, 29) * 60 + signedByteAt(bytes, 28);
    h.altGain = unsignedAt(bytes, 32, 3);
    h.altLoss = unsignedAt(bytes, 35, 3);
    h.maxAlt = quint16(unsignedAt(bytes, 38, 2));
    h.ascentAvgGradient = quint16(unsignedAt(bytes, 40, 2));
    h.ascentMaxGradient = quint16(unsignedAt(bytes, 42, 2));
    h.descentAvgGradient = quint16(unsignedAt(bytes, 44, 2));
    h.descentMaxGradient = quint16(unsignedAt(bytes, 46, 2));
    h.ascentAvgVario = quint16(unsignedAt(bytes, 48, 2));
    h.ascentMaxVario = quint16(unsignedAt(bytes, 50, 2));
    h.descentAvgVario = quint16(unsignedAt(bytes, 52, 2));
    h.descentMaxVario = quint16(unsignedAt(bytes, 54, 2));
    h.avgPower = quint16(unsignedAt(bytes, 56, 2));
    h.maxPower = quint16(unsignedAt(bytes, 58, 2));
    h.avgCadence = quint8(bytes[60]);
    h.maxCadence = quint8(bytes[61]);
    h.sampleInterval = signedByteAt(bytes, 62);
    h.valid = true;
}

int RawRecordReader::forEachSample(const std::function<void(const RecordSample &)> &visit) const
{
    if (!m_header.valid)
        return 0;
    int timeMarks = 0;
    quint32 timestamp = m_header.startTimestamp;
    for (qsizetype block = ParsedRecord::HeaderSize; block + ParsedRecord::BlockSize <= m_bytes.size();
         block += ParsedRecord::BlockSize) {
        if (quint8(m_bytes[block + FlagsOffset]) & TimeMarkFlag) {
            ++timeMarks;
            const QDateTime mark = localDateTimeAt(m_bytes, block);
            if (namesAnInstant(mark))
                timestamp = FitValues::fitTimestamp(mark);
            continue;
        }
        RecordSample sample;
        sample.timestamp = timestamp;
        sample.speed = quint16(unsignedAt(m_bytes, block, 2));
        sample.heartRate = quint8(m_bytes[block + 2]);
        sample.cadence = quint8(m_bytes[block + 3]);
        sample.distance = unsignedAt(m_bytes, block + 4, 4);
        sample.power = quint16(unsignedAt(m_bytes, block + 8, 2));
        sample.altitude = quint16(unsignedAt(m_bytes, block + 10, 2));
        sample.temperature = signedByteAt(m_bytes, block + 12);
        sample.balance = quint8(m_bytes[block + 13]);
        visit(sample);
        timestamp += quint32(qint32(m_header.sampleInterval));
    }
    return timeMarks;
}

ParsedRecord RawRecordReader::parse() const
{
    ParsedRecord record = m_header;
    if (record.valid && m_bytes.size() > ParsedRecord::HeaderSize)
        record.samples.reserve(std::size_t(m_bytes.size() - ParsedRecord::HeaderSize) / ParsedRecord::BlockSize);
    record.timeMarkCount = forEachSample([&record](const RecordSample &sample) { record.samples.push_back(sample); });
    return record;
}
