// SPDX-License-Identifier: GPL-3.0-or-later
#include "outpost/RawRecordFit.h"

#include "outpost/FitValues.h"
#include "outpost/RawRecordReader.h"
#include "outpost/fit/ActivityMesg.h"
#include "outpost/fit/Encode.h"
#include "outpost/fit/LapMesg.h"
#include "outpost/fit/Mesg.h"
#include "outpost/fit/ProfileTable.h"
#include "outpost/fit/SessionMesg.h"

using namespace FitValues;

namespace {

constexpr std::uint16_t ProductOfRawRecords = 81;
constexpr std::uint8_t BalanceRightFlag = 0x80;

struct Span
{
    std::size_t samples = 0;
    quint32 elapsed = 0;
};

// Counted ahead of writing, since the summary messages come first: a day of samples need not be
// kept in memory for it.
Span spanOf(const RawRecordReader &reader)
{
    Span span;
    quint32 last = 0;
    reader.forEachSample([&](const RecordSample &sample) {
        ++span.samples;
        last = sample.timestamp;
    });
    if (span.samples > 0)
        span.elapsed = last - reader.header().startTimestamp;
    return span;
}

fit::Mesg fileId()
{
    fit::Mesg mesg(fit::ProfileTable::FileIdIndex);
    mesg.setFieldUInt16(fit::FileIdField::Manufacturer, ManufacturerVelquist);
    mesg.setFieldUInt16(fit::FileIdField::Product, ProductOfRawRecords);
    mesg.setFieldEnum(fit::FileIdField::Type, FileTypeActivity);
    return mesg;
}

fit::ActivityMesg activity(const ParsedRecord &header, const Span &span)
{
    fit::ActivityMesg mesg;
    mesg.setTimestamp(header.startTimestamp);
    mesg.setFieldUInt16(fit::ActivityField::NumSessions, 1);
    mesg.setFieldEnum(fit::ActivityField::Type, ActivityType);
    mesg.setEvent(EventSession);
    mesg.setEventType(EventTypeStart);
    if (span.samples > 0)
        mesg.setFieldReal(fit::ActivityField::TotalTimerTime, float(span.elapsed));
    return mesg;
}

// Session and lap carry the same totals in the same order, each message type at its own numbers.
struct TotalFields
{
    fit::FieldNum totalDistance, avgSpeed, maxSpeed, avgHeartRate, maxHeartRate, totalAscent, totalDescent,
        maxAltitude, avgPosGrade, avgNegGrade, maxPosGrade, maxNegGrade, maxTemperature, timeInHrZone, avgCadence,
        maxCadence, avgPosVerticalSpeed, maxPosVerticalSpeed, avgNegVerticalSpeed, maxNegVerticalSpeed, maxPower,
        avgPower;
};

const TotalFields SessionTotals = {
    fit::SessionField::TotalDistance, fit::SessionField::AvgSpeed, fit::SessionField::MaxSpeed,
    fit::SessionField::AvgHeartRate, fit::SessionField::MaxHeartRate, fit::SessionField::TotalAscent,
    fit::SessionField::TotalDescent, fit::SessionField::MaxAltitude, fit::SessionField::AvgPosGrade,
    fit::SessionField::AvgNegGrade, fit::SessionField::MaxPosGrade, fit::SessionField::MaxNegGrade,
    fit::SessionField::MaxTemperature, fit::SessionField::TimeInHrZone, fit::SessionField::AvgCadence,
    fit::SessionField::MaxCadence, fit::SessionField::AvgPosVerticalSpeed, fit::SessionField::MaxPosVerticalSpeed,
    fit::SessionField::AvgNegVerticalSpeed, fit::SessionField::MaxNegVerticalSpeed, fit::SessionField::MaxPower,
    fit::SessionField::AvgPower,
};

const TotalFields LapTotals = {
    fit::LapField::TotalDistance, fit::LapField::AvgSpeed, fit::LapField::MaxSpeed,
    fit::LapField::AvgHeartRate, fit::LapField::MaxHeartRate, fit::LapField::TotalAscent,
    fit::LapField::TotalDescent, fit::LapField::MaxAltitude, fit::LapField::AvgPosGrade,
    fit::LapField::AvgNegGrade, fit::LapField::MaxPosGrade, fit::LapField::MaxNegGrade,
    fit::LapField::MaxTemperature, fit::LapField::TimeInHrZone, fit::LapField::AvgCadence,
    fit::LapField::MaxCadence, fit::LapField::AvgPosVerticalSpeed, fit::LapField::MaxPosVerticalSpeed,
    fit::LapField::AvgNegVerticalSpeed, fit::LapField::MaxNegVerticalSpeed, fit::LapField::MaxPower,
    fit::LapField::AvgPower,
};

// Descent gradients and rates are magnitudes on the device and stay non-negative here.
void setTotals(fit::Mesg &mesg, const TotalFields &f, const ParsedRecord &h)
{
    mesg.setFieldReal(f.totalDistance, metres(h.distance));
    mesg.setFieldReal(f.avgSpeed, metresPerSecond(h.avgSpeed));
    mesg.setFieldReal(f.maxSpeed, metresPerSecond(h.maxSpeed));
    mesg.setFieldUInt8(f.avgHeartRate, h.avgHeartRate);
    mesg.setFieldUInt8(f.maxHeartRate, h.maxHeartRate);
    mesg.setFieldInteger(f.totalAscent, h.altGain);
    mesg.setFieldInteger(f.totalDescent, h.altLoss);
    mesg.setFieldReal(f.maxAltitude, h.maxAlt);
    mesg.setFieldReal(f.avgPosGrade, h.ascentAvgGradient);
    mesg.setFieldReal(f.avgNegGrade, h.descentAvgGradient);
    mesg.setFieldReal(f.maxPosGrade, h.ascentMaxGradient);
    mesg.setFieldReal(f.maxNegGrade, h.descentMaxGradient);
    mesg.setFieldSInt8(f.maxTemperature, h.maxTemperature);
    mesg.setFieldReal(f.timeInHrZone, float(h.hrInZoneSeconds));
    mesg.setFieldUInt8(f.avgCadence, h.avgCadence);
    mesg.setFieldUInt8(f.maxCadence, h.maxCadence);
    mesg.setFieldReal(f.avgPosVerticalSpeed, metresPerSecondFromMetresPerHour(h.ascentAvgVario));
    mesg.setFieldReal(f.maxPosVerticalSpeed, metresPerSecondFromMetresPerHour(h.ascentMaxVario));
    mesg.setFieldReal(f.avgNegVerticalSpeed, metresPerSecondFromMetresPerHour(h.descentAvgVario));
    mesg.setFieldReal(f.maxNegVerticalSpeed, metresPerSecondFromMetresPerHour(h.descentMaxVario));
    mesg.setFieldUInt16(f.maxPower, h.maxPower);
    mesg.setFieldUInt16(f.avgPower, h.avgPower);
}

fit::SessionMesg session(const ParsedRecord &h, const Span &span)
{
    fit::SessionMesg mesg;
    mesg.setTimestamp(h.startTimestamp);
    mesg.setFieldUInt32(fit::SessionField::StartTime, h.startTimestamp);
    if (span.samples > 0) {
        mesg.setFieldReal(fit::SessionField::TotalElapsedTime, float(span.elapsed));
        mesg.setFieldReal(fit::SessionField::TotalTimerTime, float(span.elapsed));
    }
    mesg.setFieldEnum(fit::SessionField::Sport, SportCycling);
    mesg.setEvent(EventActivity);
    mesg.setEventType(EventTypeStart);
    setTotals(mesg, SessionTotals, h);
    return mesg;
}

// The lap has no time stamp of its own.
fit::LapMesg lap(const ParsedRecord &h, const Span &span)
{
    fit::LapMesg mesg;
    if (span.samples > 0) {
        mesg.setFieldReal(fit::LapField::TotalTimerTime, float(span.elapsed));
        mesg.setFieldReal(fit::LapField::TotalElapsedTime, float(span.elapsed));
    }
    mesg.setFieldEnum(fit::LapField::Sport, SportCycling);
    mesg.setEvent(EventActivity);
    mesg.setEventType(EventTypeStart);
    setTotals(mesg, LapTotals, h);
    return mesg;
}

// Every sample sets the same fields again, which replaces their values in place; a sample with a
// balance goes through a message that has the field, one without through a message that lacks it.
void setSample(fit::Mesg &mesg, const RecordSample &sample)
{
    namespace F = fit::RecordField;
    mesg.setFieldUInt32(F::Timestamp, sample.timestamp);
    mesg.setFieldReal(F::Distance, metres(sample.distance));
    mesg.setFieldReal(F::Altitude, sample.altitude);
    mesg.setFieldUInt8(F::HeartRate, sample.heartRate);
    mesg.setFieldUInt8(F::Cadence, sample.cadence);
    mesg.setFieldReal(F::Speed, metresPerSecond(sample.speed));
    mesg.setFieldUInt16(F::Power, sample.power);
    mesg.setFieldSInt8(F::Temperature, sample.temperature);
    if (sample.hasBalance())
        mesg.setFieldUInt8(F::LeftRightBalance, sample.balance | BalanceRightFlag);
}

} // namespace

int RawRecordFit::write(std::iostream &stream, const RawRecordReader &reader)
{
    const ParsedRecord &header = reader.header();
    if (!header.valid)
        return -1;
    const Span span = spanOf(reader);

    fit::Encode encode;
    encode.open(stream);
    encode.write(fileId());
    encode.write(activity(header, span));
    encode.write(session(header, span));
    encode.write(lap(header, span));

    fit::Mesg withBalance(fit::ProfileTable::RecordIndex);
    fit::Mesg withoutBalance(fit::ProfileTable::RecordIndex);
    reader.forEachSample([&](const RecordSample &sample) {
        fit::Mesg &mesg = sample.hasBalance() ? withBalance : withoutBalance;
        setSample(mesg, sample);
        encode.write(mesg);
    });
    return encode.close() ? 0 : -1;
}
