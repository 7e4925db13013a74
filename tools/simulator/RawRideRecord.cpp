// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/simulator/RawRideRecord.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int HeaderSize = 64;
constexpr int BlockSize = 15;
constexpr quint8 TimeMarkFlag = 0x20;
constexpr quint8 SampleFlags = 0x01;
constexpr quint8 NoBalance = 255;

// Riding legs in seconds, with the stops between them in seconds.
constexpr int Legs[] = {4500, 3300, 1800};
constexpr int Stops[] = {1200, 420};
constexpr int UnpairedSeconds = 600; // the power meter's balance comes in after ten minutes
constexpr double Pi = 3.14159265358979;

struct Second
{
    double kmh;
    int heartRate;
    int cadence;
    int power;
    double altitude;
    int temperature;
    int balance;
};

// A repeatable wobble, so that the ride looks measured without being random.
double wobble(int t, double period, double phase = 0)
{
    return std::sin(2 * Pi * t / period + phase);
}

Second second(int t)
{
    Second s;
    const double climb = wobble(t, 1800); // a hill every half hour
    s.altitude = 420 + 180 * climb + 6 * wobble(t, 97);
    const double slope = std::cos(2 * Pi * t / 1800); // > 0 going up
    s.kmh = std::clamp(27 - 9 * slope + 2.5 * wobble(t, 41, 1), 6.0, 62.0);
    const bool coasting = slope < -0.7 && wobble(t, 23) > 0.2;
    s.cadence = coasting ? 0 : int(86 + 8 * wobble(t, 53));
    s.power = coasting ? 0 : int(std::max(0.0, 190 + 120 * slope + 25 * wobble(t, 31, 2)));
    s.heartRate = int(118 + std::min(t, 900) / 30 + 22 * slope + 4 * wobble(t, 67));
    s.temperature = int(std::lround(11 + 3 * wobble(t, 14400, -Pi / 2)));
    s.balance = (t < UnpairedSeconds || coasting) ? NoBalance : int(50 + 3 * wobble(t, 19));
    return s;
}

void putDateTime(QByteArray &bytes, qsizetype at, const QDateTime &dateTime)
{
    const int parts[] = {dateTime.time().second(), dateTime.time().minute(), dateTime.time().hour(),
                         dateTime.date().day(), dateTime.date().month(), dateTime.date().year() - 2000};
    for (int i = 0; i < 6; ++i)
        bytes[at + i] = char(parts[i]);
}

void putTime(QByteArray &bytes, qsizetype at, int seconds)
{
    bytes[at] = char(seconds % 60);
    bytes[at + 1] = char(seconds / 60 % 60);
    bytes[at + 2] = char(seconds / 3600);
}

template<typename T>
void put(QByteArray &bytes, qsizetype at, T value)
{
    qToLittleEndian(value, bytes.data() + at);
}

struct Totals
{
    double distanceMm = 0;
    double maxKmh = 0;
    double gain = 0, loss = 0, maxAltitude = 0;
    double climbMetres = 0, climbSeconds = 0, descentMetres = 0, descentSeconds = 0;
    double maxClimbRate = 0, maxDescentRate = 0;
    double climbRun = 0, descentRun = 0, maxClimbGrade = 0, maxDescentGrade = 0;
    long heartRateSum = 0, cadenceSum = 0, powerSum = 0;
    int maxHeartRate = 0, maxCadence = 0, maxPower = 0, maxTemperature = -128, zoneSeconds = 0;
};

QByteArray headerOf(const Totals &t, int seconds)
{
    QByteArray h(HeaderSize, '\0');
    putDateTime(h, 0, RawRideRecord::sampleStart());
    h[6] = char(t.maxTemperature);
    h[8] = char(t.heartRateSum / seconds);
    h[9] = char(t.maxHeartRate);
    putTime(h, 10, seconds);
    putTime(h, 13, t.zoneSeconds);
    put<quint16>(h, 19, quint16(std::lround(t.maxKmh * 10)));
    put<quint16>(h, 21, quint16(std::lround(t.distanceMm / 1e6 / (seconds / 3600.0) * 10)));
    put<quint32>(h, 24, quint32(std::lround(t.distanceMm)));
    h[28] = char(seconds % 60);
    h[29] = char(seconds / 60 % 60);
    put<qint16>(h, 30, qint16(seconds / 3600));
    put<quint32>(h, 32, quint32(std::lround(t.gain))); // 24 bits; the next value overwrites the fourth byte
    put<quint32>(h, 35, quint32(std::lround(t.loss)));
    put<quint16>(h, 38, quint16(std::lround(t.maxAltitude)));
    put<quint16>(h, 40, quint16(std::lround(100 * t.climbMetres / std::max(1.0, t.climbRun))));
    put<quint16>(h, 42, quint16(std::lround(t.maxClimbGrade)));
    put<quint16>(h, 44, quint16(std::lround(100 * t.descentMetres / std::max(1.0, t.descentRun))));
    put<quint16>(h, 46, quint16(std::lround(t.maxDescentGrade)));
    put<quint16>(h, 48, quint16(std::lround(3600 * t.climbMetres / std::max(1.0, t.climbSeconds))));
    put<quint16>(h, 50, quint16(std::lround(t.maxClimbRate)));
    put<quint16>(h, 52, quint16(std::lround(3600 * t.descentMetres / std::max(1.0, t.descentSeconds))));
    put<quint16>(h, 54, quint16(std::lround(t.maxDescentRate)));
    put<quint16>(h, 56, quint16(t.powerSum / seconds));
    put<quint16>(h, 58, quint16(t.maxPower));
    h[60] = char(t.cadenceSum / seconds);
    h[61] = char(t.maxCadence);
    h[62] = char(1); // one sample a second
    return h;
}

} // namespace

QDateTime RawRideRecord::sampleStart()
{
    return QDateTime(QDate(2024, 3, 16), QTime(13, 5, 0));
}

int RawRideRecord::sampleCount()
{
    int count = 0;
    for (int leg : Legs)
        count += leg;
    return count;
}

int RawRideRecord::timeMarkCount()
{
    return int(std::size(Stops));
}

QByteArray RawRideRecord::sampleRide()
{
    QByteArray blocks;
    blocks.reserve((sampleCount() + timeMarkCount()) * BlockSize);
    Totals t;
    int ridden = 0;
    int clock = 0; // seconds since the start, stops included
    double previousAltitude = second(0).altitude;
    for (std::size_t leg = 0; leg < std::size(Legs); ++leg) {
        if (leg > 0) {
            clock += Stops[leg - 1];
            QByteArray mark(BlockSize, '\0');
            putDateTime(mark, 0, sampleStart().addSecs(clock));
            mark[14] = char(TimeMarkFlag);
            blocks += mark;
        }
        for (int i = 0; i < Legs[leg]; ++i, ++ridden, ++clock) {
            const Second s = second(ridden);
            const double metres = s.kmh / 3.6;
            const double rise = s.altitude - previousAltitude;
            previousAltitude = s.altitude;
            t.distanceMm += metres * 1000;
            t.maxKmh = std::max(t.maxKmh, s.kmh);
            t.maxAltitude = std::max(t.maxAltitude, s.altitude);
            const double grade = 100 * std::abs(rise) / std::max(1.0, metres);
            if (rise > 0) {
                t.gain += rise, t.climbMetres += rise, t.climbSeconds += 1, t.climbRun += metres;
                t.maxClimbRate = std::max(t.maxClimbRate, rise * 3600), t.maxClimbGrade = std::max(t.maxClimbGrade, grade);
            } else {
                t.loss -= rise, t.descentMetres -= rise, t.descentSeconds += 1, t.descentRun += metres;
                t.maxDescentRate = std::max(t.maxDescentRate, -rise * 3600);
                t.maxDescentGrade = std::max(t.maxDescentGrade, grade);
            }
            t.heartRateSum += s.heartRate, t.cadenceSum += s.cadence, t.powerSum += s.power;
            t.maxHeartRate = std::max(t.maxHeartRate, s.heartRate), t.maxCadence = std::max(t.maxCadence, s.cadence);
            t.maxPower = std::max(t.maxPower, s.power), t.maxTemperature = std::max(t.maxTemperature, s.temperature);
            t.zoneSeconds += (s.heartRate >= 130 && s.heartRate <= 165) ? 1 : 0;

            QByteArray block(BlockSize, '\0');
            put<quint16>(block, 0, quint16(std::lround(s.kmh * 10)));
            block[2] = char(s.heartRate);
            block[3] = char(s.cadence);
            put<quint32>(block, 4, quint32(std::lround(t.distanceMm)));
            put<quint16>(block, 8, quint16(s.power));
            put<quint16>(block, 10, quint16(std::lround(s.altitude)));
            block[12] = char(s.temperature);
            block[13] = char(s.balance);
            block[14] = char(SampleFlags);
            blocks += block;
        }
    }
    return headerOf(t, ridden) + blocks;
}
