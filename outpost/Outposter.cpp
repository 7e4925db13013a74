// SPDX-License-Identifier: GPL-3.0-or-later
#include "outpost/Outposter.h"

#include "outpost/FitValues.h"
#include "outpost/RawRecordFit.h"
#include "outpost/RawRecordReader.h"
#include "outpost/RideSelection.h"
#include "outpost/fit/ActivityMesg.h"
#include "outpost/fit/Encode.h"
#include "outpost/fit/Mesg.h"
#include "outpost/fit/ProfileTable.h"
#include "outpost/fit/SessionMesg.h"

#include <QSaveFile>

#include <functional>
#include <optional>
#include <sstream>
#include <string>

using namespace FitValues;

namespace {

// A FIT file is built whole in memory, where it can be read back for the CRC, and only then
// replaces whatever the name held before; its bytes reach the disk before the old file is given up.
bool writeWholeFile(const QString &fileName, const std::function<int(std::iostream &)> &encode,
                    QString *reason = nullptr)
{
    std::stringstream buffer(std::ios::in | std::ios::out | std::ios::binary);
    if (encode(buffer) != 0)
        return false;
    const std::string bytes = buffer.str();
    buffer = std::stringstream();

    QSaveFile file(fileName);
    const auto failed = [&file, reason] {
        if (reason)
            *reason = file.errorString();
        return false;
    };
    if (!file.open(QIODevice::WriteOnly))
        return failed();
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size())
        || !file.flush()) {
        failed();
        file.cancelWriting();
        return false;
    }
    return file.commit() || failed();
}

// The messages of one ride of the record, in file order.
struct DayMessages
{
    fit::Mesg fileId{fit::ProfileTable::FileIdIndex};
    fit::ActivityMesg activity;
    fit::SessionMesg session;
    fit::Mesg record{fit::ProfileTable::RecordIndex};

    std::vector<const fit::Mesg *> all() const { return {&fileId, &activity, &session, &record}; }
};

std::optional<DayMessages> dayMessages(ModelData *modelData, int bike, const QDateTime &rideStart)
{
    const std::optional<RideSelection> ride = RideSelection::select(modelData, bike);
    // A clock time skipped by the switch to summer time makes an invalid date-time that still
    // names an instant, so only a missing date or time is refused.
    if (!ride || !rideStart.date().isValid() || !rideStart.time().isValid())
        return std::nullopt;

    const ModelData &record = ride->record();
    const Bike &values = ride->bike();
    const std::uint32_t timestamp = fitTimestamp(rideStart);
    const float rideSeconds = static_cast<float>(values.rideTimeHour * 3600 + values.rideTimeMin * 60
                                                 + values.rideTimeSec);
    const float zoneSeconds = static_cast<float>(record.hrInZoneHour * 3600 + record.hrInZoneMin * 60
                                                 + record.hrInZoneSec);
    DayMessages day;

    fit::Mesg &fileId = day.fileId;
    fileId.setFieldUInt16(fit::FileIdField::Manufacturer, ManufacturerVelquist);
    fileId.setFieldUInt16(fit::FileIdField::Product, record.deviceModel->id & 0xFF);
    fileId.setFieldEnum(fit::FileIdField::Type, FileTypeActivity);

    fit::ActivityMesg &activity = day.activity;
    activity.setFieldUInt16(fit::ActivityField::NumSessions, 1);
    activity.setFieldEnum(fit::ActivityField::Type, ActivityType);
    activity.setEvent(EventSession);
    activity.setEventType(EventTypeStart);
    activity.setFieldReal(fit::ActivityField::TotalTimerTime, rideSeconds);
    activity.setTimestamp(timestamp);

    fit::SessionMesg &session = day.session;
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
    session.setFieldInteger(fit::SessionField::TotalCalories, record.dailyCalories);
    session.setFieldReal(fit::SessionField::AvgSpeed, metresPerSecond(values.avgSpeed));
    session.setFieldReal(fit::SessionField::MaxSpeed, metresPerSecond(values.maxSpeed));
    session.setFieldInteger(fit::SessionField::AvgHeartRate, record.avgHeartRate);
    session.setFieldInteger(fit::SessionField::MaxHeartRate, record.maxHeartRate);
    session.setFieldReal(fit::SessionField::TimeInHrZone, zoneSeconds);
    if (ride->hasAltitudeGroup()) {
        session.setFieldInteger(fit::SessionField::TotalAscent, values.altGain);
        session.setFieldInteger(fit::SessionField::TotalDescent, values.altLoss);
        session.setFieldReal(fit::SessionField::MaxAltitude, values.maxAlt);
        // The device keeps descent gradients and rates as magnitudes; they stay non-negative here.
        session.setFieldReal(fit::SessionField::AvgPosGrade, record.ascentAvgGradient);
        session.setFieldReal(fit::SessionField::AvgNegGrade, record.descentAvgGradient);
        session.setFieldReal(fit::SessionField::MaxPosGrade, record.ascentMaxGradient);
        session.setFieldReal(fit::SessionField::MaxNegGrade, record.descentMaxGradient);
        session.setFieldInteger(fit::SessionField::MaxTemperature, record.dailyMaxTemp);
        session.setFieldReal(fit::SessionField::AvgPosVerticalSpeed,
                             metresPerSecondFromMetresPerHour(record.ascentAvgVario));
        session.setFieldReal(fit::SessionField::MaxPosVerticalSpeed,
                             metresPerSecondFromMetresPerHour(record.ascentMaxVario));
        session.setFieldReal(fit::SessionField::AvgNegVerticalSpeed,
                             metresPerSecondFromMetresPerHour(record.descentAvgVario));
        session.setFieldReal(fit::SessionField::MaxNegVerticalSpeed,
                             metresPerSecondFromMetresPerHour(record.descentMaxVario));
    }
    session.setFieldInteger(fit::SessionField::AvgCadence, values.avgCadence);
    session.setFieldInteger(fit::SessionField::MaxCadence, values.maxCadence);

    day.record.setFieldUInt32(fit::RecordField::Timestamp, timestamp);
    return day;
}

} // namespace

int Outposter::exportToStream(std::iostream &stream, ModelData *modelData, int bike, const QDateTime &rideStart)
{
    const std::optional<DayMessages> day = dayMessages(modelData, bike, rideStart);
    if (!day)
        return -1;
    fit::Encode encode;
    encode.open(stream);
    for (const fit::Mesg *mesg : day->all())
        encode.write(*mesg);
    return encode.close() ? 0 : -1;
}

QStringList Outposter::leftOutValues(ModelData *modelData, int bike, const QDateTime &rideStart)
{
    QStringList lines;
    if (const std::optional<DayMessages> day = dayMessages(modelData, bike, rideStart)) {
        for (const fit::Mesg *mesg : day->all()) {
            for (const std::string &line : mesg->leftOutLines())
                lines.append(QString::fromStdString(line));
        }
    }
    return lines;
}

bool Outposter::exportToFit(const QString &fileName, ModelData *modelData, int bike, const QDateTime &rideStart)
{
    return exportToFit(fileName, modelData, bike, rideStart, nullptr);
}

bool Outposter::exportToFit(const QString &fileName, ModelData *modelData, int bike, const QDateTime &rideStart,
                            QString *reason)
{
    return writeWholeFile(
        fileName, [&](std::iostream &stream) { return exportToStream(stream, modelData, bike, rideStart); }, reason);
}

ParsedRecord Outposter::parseRecord(const QByteArray &record)
{
    return RawRecordReader(record).parse();
}

int Outposter::exportToStream(std::iostream &stream, const QByteArray &record)
{
    return RawRecordFit::write(stream, RawRecordReader(record));
}

int Outposter::exportToFit(const QString &fileName, const QByteArray &record)
{
    return writeWholeFile(fileName, [&](std::iostream &stream) { return exportToStream(stream, record); }) ? 0 : -1;
}
