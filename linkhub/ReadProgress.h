// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/DeviceModel.h"
#include "linkhub/ModelDataUpdateBits.h"
#include "linkhub/TunedockCommand.h"

#include <QCoreApplication>
#include <QList>
#include <QStringList>

/// Which blocks of a model's read requests have been decoded so far.
///
/// A read is complete only when every request of the model's list has filled its block. Blocks
/// that no request of the list asks for (a firmware version sent twice, say) and repeats never
/// count, so an answer that arrives twice cannot stand in for one that never came.
/// Header-only, like the catalogue, so that every program reading a device can judge a read.
class ReadProgress
{
    Q_DECLARE_TR_FUNCTIONS(ReadProgress)

public:
    ReadProgress() = default;
    explicit ReadProgress(const DeviceModel &model)
    {
        for (int request : model.requestCommands) {
            const int block = blockOf(request);
            if (block != IdentityUpdate && !m_expected.contains(block))
                m_expected.append(block);
        }
    }

    /// The block a read request fills; IdentityUpdate for a request that fills none.
    static ModelDataUpdateBits blockOf(int requestCode)
    {
        switch (requestCode) {
        case ReadAltitude:
            return AltitudeUpdate;
        case ReadCurrentBike:
            return CurrentBikeUpdate;
        case ReadHeartRate:
            return HeartRateUpdate;
        case ReadDateTime:
            return DateTimeUpdate;
        case ReadBikeSettings:
        case ReadBike1Settings:
            return Bike1Update;
        case ReadBike2Settings:
            return Bike2Update;
        case ReadBikeAux:
            return BikeAuxUpdate;
        case ReadFirmwareVersion:
            return FirmwareVersionUpdate;
        case ReadModelOption:
            return ModelOptionUpdate;
        default:
            return IdentityUpdate;
        }
    }

    /// What a block of the record holds, in words a user knows.
    static QString blockName(int updateBits)
    {
        switch (updateBits) {
        case AltitudeUpdate:
            return tr("altitude and temperature");
        case CurrentBikeUpdate:
            return tr("current bike");
        case HeartRateUpdate:
            return tr("heart rate and energy");
        case DateTimeUpdate:
            return tr("clock");
        case Bike1Update:
            return tr("bike 1");
        case Bike2Update:
            return tr("bike 2");
        case BikeAuxUpdate:
            return tr("bike extras");
        case FirmwareVersionUpdate:
            return tr("firmware version");
        case ModelOptionUpdate:
            return tr("model option");
        default:
            return tr("block %1").arg(updateBits);
        }
    }

    /// Notes a decoded block; true only for a block of the list that was not decoded before.
    bool note(int updateBits)
    {
        if (!m_expected.contains(updateBits) || m_read.contains(updateBits))
            return false;
        m_read.append(updateBits);
        return true;
    }

    bool isComplete() const { return m_read.size() == m_expected.size(); }
    int readCount() const { return int(m_read.size()); }
    int expectedCount() const { return int(m_expected.size()); }
    /// The blocks still to come, in the order the model's list asks for them.
    QList<int> missing() const
    {
        QList<int> left;
        for (int block : m_expected) {
            if (!m_read.contains(block))
                left.append(block);
        }
        return left;
    }

    /// The names of the blocks still to come, in list order.
    QStringList missingNames() const
    {
        QStringList names;
        for (int block : missing())
            names.append(blockName(block));
        return names;
    }

private:
    QList<int> m_expected; // in list order, each block once
    QList<int> m_read;
};
