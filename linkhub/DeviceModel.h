// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/BaudRateType.h"

#include <QDebug>
#include <QString>
#include <QVector>

/// One row of the device catalogue: what the link needs to know about a bike-computer model.
/// Rows are built once by the catalogue and shared by pointer, never copied.
/// Everything here is inline so that libraries reading records need not link the device link.
class DeviceModel
{
public:
    /// Feature bits of availableMask that the link and its users read.
    enum Feature {
        AltitudeValues = 0x001,
        HeartRateValues = 0x004,
        BikeValues = 0x020,
        SecondBike = 0x040,
        FirmwareCheck = 0x400,
    };

    DeviceModel(unsigned char id, QString name, QString familyTag, BaudRateType baudRate,
                const int *answerSizes, int bikeCount, bool hasDate, QString imagePath)
        : id(id), name(std::move(name)), baudRate(baudRate), answerSizes(answerSizes),
          bikeCount(bikeCount), hasDate(hasDate), imagePath(std::move(imagePath)),
          familyTag(std::move(familyTag))
    {
        setAvailableMask();
        setFwUpdateInfo();
    }

    DeviceModel(const DeviceModel &) = delete;
    DeviceModel &operator=(const DeviceModel &) = delete;

    /// Feature mask of a model id; 0 (and a critical line) for an id the catalogue does not know.
    static int getAvailableMask(int id)
    {
        switch (id) {
        case 0x11:
        case 0x12:
            return 0x128;
        case 0x21:
            return 0x7FA;
        case 0x22:
            return 0x7FE;
        case 0x23:
        case 0x61:
            return 0xFFF;
        case 0x51:
            return 0x1FFF;
        default:
            qCritical() << "Unknown Model: " << QString::number(id, 16);
            return 0;
        }
    }

    void setAvailableMask() { availableMask = getAvailableMask(id); }

    void setFwUpdateInfo()
    {
        fwBlockSize = 0x800;
        if (id == 0x51) {
            fwAppSize = 0xE000;
            fwBlockCount = 28;
            fwStartOffset = 0x2000;
        } else {
            fwAppSize = 0xC000;
            fwBlockCount = 24;
            fwStartOffset = 0x4000;
        }
    }

    bool has(Feature feature) const { return (availableMask & feature) != 0; }

    /// Largest odometer in millimetres that the model's bike-settings write carries (40 bits on
    /// one-bike models, 64 on the others).
    quint64 maxTotalDistance() const { return bikeCount == 1 ? (quint64(1) << 40) - 1 : ~quint64(0); }

    /// Expected payload length of an answer code for this model; -1 where the model sends no such answer.
    int answerSize(int answerCode) const { return answerSizes[(answerCode >> 4) & 7]; }

    unsigned char id;
    QString name;
    BaudRateType baudRate;
    const int *answerSizes; ///< 8 entries, indexed by (answer code >> 4) & 7; static, not owned
    int bikeCount;
    bool hasDate;
    QVector<int> requestCommands;
    QString imagePath;
    QString familyTag;
    int availableMask = 0;
    int fwAppSize = 0;
    int fwBlockSize = 0;
    int fwBlockCount = 0;
    int fwStartOffset = 0;
};
