#include "outpost/Outposter.h"

#include "outpost/RideSelection.h"
#include "outpost/fit/ActivityMesg.h"
#include "outpost/fit/Encode.h"
#include "outpost/fit/Mesg.h"
#include "outpost/fit/ProfileTable.h"
#include "outpost/fit/SessionMesg.h"

#include <QSaveFile>

#include <sstream>
#include <string>

namespace {

// FIT time stamps count seconds from 1989-12-31 00:00:00 UTC.
constexpr qint64 FitEpochSecsSinceUnixEpoch = 631065600;

constexpr std::uint16_t ManufacturerVelquist = 77;
constexpr std::uint8_t FileTypeActivity = 4;
constexpr std::uint8_t ActivityType = 2;
// The activity carries the session event and the session the activity event: that is what every
// file written so far holds, and readers take the ride from the session's totals either way.
constexpr std::uint8_t EventActivity = 26;
constexpr std::uint8_t EventSession = 8;
constexpr std::uint8_t EventTypeStart = 0;
constexpr std::uint8_t SportCycling = 2;

constexpr double SecondsPerHour = 3600.0;
constexpr double KmhPerMps = 3.6;

// The instant the user chose, counted from the FIT epoch; dates before the epoch wrap around in
// 32 bits as the format's unsigned field does.
std::uint32_t fitTimestamp(const QDateTime &rideStart)
{
    return static_cast<std::uint32_t>(rideStart.toSecsSinceEpoch() - FitEpochSecsSinceUnixEpoch);
}

float metresPerSecond(quint16 tenthsKmh)
{
    return static_cast<float>(tenthsKmh / 10.0 / KmhPerMps);
}

float metresPerSecondFromMetresPerHour(quint16 metresPerHour)
{
    return static_cast<float>(metresPerHour / SecondsPerHour);
}

} // namespace

int Outposter::exportToStream(std::iostream &stream, ModelData *modelData, int bike, const QDateTime &rideStart)
{
    const std::optional<RideSelection> ride = RideSelection::select(modelData, bike);
    // A clock time skipped by the switch to summer time makes an invalid date-time that still
    // names an instant, so only a missing date or time is refused.
    if (!ride || !rideStart.date().isValid() || !rideStart.time().isValid())
        return -1;

    const ModelData &record = ride->record();
    const Bike &values = ride->bike();
    const std::uint32_t timestamp = fitTimestamp(rideStart);
    const float rideSeconds = static_cast<float>(values.rideTimeHour * 3600 + values.rideTimeMin * 60
                                                 + values.rideTimeSec);
    const float zoneSeconds = static_cast<float>(record.hrInZoneHour * 3600 + record.hrInZoneMin * 60
                                                 + record.hrInZoneSec);

    fit::Mesg fileId(fit::ProfileTable::FileIdIndex);
    fileId.setFieldUInt16(fit::FileIdField::Manufacturer, ManufacturerVelquist);
    fileId.setFieldUInt16(fit::FileIdField::Product, record.deviceModel->id & 0xFF);
    fileId.setFieldEnum(fit::FileIdField::Type, FileTypeActivity);

    fit::ActivityMesg activity;
    activity.setFieldUInt16(fit::ActivityField::NumSessions, 1);
    activity.setFieldEnum(fit::ActivityField::Type, ActivityType);
    activity.setEvent(EventSession);
    activity.setEventType(EventTypeStart);
    activity.setFieldReal(fit::ActivityField::TotalTimerTime, rideSeconds);
    activity.setTimestamp(timestamp);

    fit::SessionMesg session;
    session.setTimestamp(timestamp);
    session.setFieldUInt32(fit::SessionField::StartTime, timestamp);
    session.setFieldReal(fit::SessionField::TotalElapsedTime, rideSeconds);
    session.setFieldReal(fit::SessionField::TotalTimerTime, rideSeconds);
    session.setTimestamp(timestamp);
    session.setFieldEnum(fit::SessionField::Sport, SportCycling);
    session.setEvent(EventActivity);
    session.setEventType(EventTypeStart);
    // The record keeps millimetres; the file takes metres.
    session.setFieldReal(fit::SessionField::TotalDistance, static_cast<float>(values.dailyDistance / 1000.0));
    session.setFieldUInt16(fit::SessionField::TotalCalories, static_cast<std::uint16_t>(record.dailyCalories));
    session.setFieldReal(fit::SessionField::AvgSpeed, metresPerSecond(values.avgSpeed));
    session.setFieldReal(fit::SessionField::MaxSpeed, metresPerSecond(values.maxSpeed));
    session.setFieldUInt8(fit::SessionField::AvgHeartRate, record.avgHeartRate);
    session.setFieldUInt8(fit::SessionField::MaxHeartRate, record.maxHeartRate);
    session.setFieldReal(fit::SessionField::TimeInHrZone, zoneSeconds);
    if (ride->hasAltitudeGroup()) {
        session.setFieldUInt16(fit::SessionField::TotalAscent, static_cast<std::uint16_t>(values.altGain));
        session.setFieldUInt16(fit::SessionField::TotalDescent, static_cast<std::uint16_t>(values.altLoss));
        session.setFieldReal(fit::SessionField::MaxAltitude, values.maxAlt);
        // The device keeps descent gradients and rates as magnitudes; they stay non-negative here.
        session.setFieldReal(fit::SessionField::AvgPosGrade, record.ascentAvgGradient);
        session.setFieldReal(fit::SessionField::AvgNegGrade, record.descentAvgGradient);
        session.setFieldReal(fit::SessionField::MaxPosGrade, record.ascentMaxGradient);
        session.setFieldReal(fit::SessionField::MaxNegGrade, record.descentMaxGradient);
        session.setFieldSInt8(fit::SessionField::MaxTemperature, record.dailyMaxTemp);
        session.setFieldReal(fit::SessionField::AvgPosVerticalSpeed,
                             metresPerSecondFromMetresPerHour(record.ascentAvgVario));
        session.setFieldReal(fit::SessionField::MaxPosVerticalSpeed,
                             metresPerSecondFromMetresPerHour(record.ascentMaxVario));
        session.setFieldReal(fit::SessionField::AvgNegVerticalSpeed,
                             metresPerSecondFromMetresPerHour(record.descentAvgVario));
        session.setFieldReal(fit::SessionField::MaxNegVerticalSpeed,
                             metresPerSecondFromMetresPerHour(record.descentMaxVario));
    }
    session.setFieldUInt8(fit::SessionField::AvgCadence, static_cast<std::uint8_t>(values.avgCadence));
    session.setFieldUInt8(fit::SessionField::MaxCadence, static_cast<std::uint8_t>(values.maxCadence));

    fit::Mesg recordMesg(fit::ProfileTable::RecordIndex);
    recordMesg.setFieldUInt32(fit::RecordField::Timestamp, timestamp);

    fit::Encode encode;
    encode.open(stream);
    encode.write(fileId);
    encode.write(activity);
    encode.write(session);
    encode.write(recordMesg);
    return encode.close() ? 0 : -1;
}

bool Outposter::exportToFit(const QString &fileName, ModelData *modelData, int bike, const QDateTime &rideStart)
{
    // The file is a few hundred bytes: build it in memory, where it can be read back for the CRC,
    // and only then let it replace whatever the name held before.
    std::stringstream buffer(std::ios::in | std::ios::out | std::ios::binary);
    if (exportToStream(buffer, modelData, bike, rideStart) != 0)
        return false;
    const std::string bytes = buffer.str();

    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // The bytes must have reached the disk before the old file is given up for them.
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size())
        || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
