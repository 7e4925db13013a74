// SPDX-License-Identifier: GPL-3.0-or-later
#include "linkhub/private/AnswerDispatcher.h"

#include "linkhub/ComConnection.h"
#include "linkhub/private/AnswerDecoder.h"

#include <QDebug>

#include <algorithm>
#include <iterator>
#include <memory>
#include <utility>

namespace {
QString hexCode(unsigned char code)
{
    return QString::number(code, 16);
}
}

AnswerDispatcher::AnswerDispatcher(ComConnection &link)
    : link(link),
      fixedAnswerSizes{{0x12, 0}, {0x92, 0}, {0x63, 0}, {0xE3, 0}, {0xE4, 1}, {0xE5, 1}, {0xF1, 0}, {0xF5, 0}}
{
}

AnswerDispatcher::~AnswerDispatcher()
{
    delete modelData;
}

void AnswerDispatcher::dispatch(TunedockCommand command, QByteArray &payload)
{
    const auto code = static_cast<unsigned char>(command);

    if (!currentModel) {
        if (code == FirmwareBlockAck && !payload.isEmpty()) {
            qCritical() << "Illegal command (" << hexCode(code) << ") size: " << payload.size()
                        << " should be: " << 0;
            return;
        }
        if (code != DeviceIdData && code != FirmwareBlockAck) {
            qCritical() << "Answer while not connected: " << hexCode(code);
            return;
        }
    } else if ((code & 1) && !hasExpectedLength(code, payload)) {
        return;
    }

    ModelData *data = modelData;
    switch (code) {
    case DeviceIdData:
        identify(payload);
        return;
    case SessionClosed:
        qDebug() << "Session closed";
        emit link.closing(NoError);
        return;
    case BootloaderReady:
        qDebug() << "device now in bootloader mode";
        return;
    case FirmwareBlockAck:
        acknowledgeFirmwareBlock();
        return;
    case WriteAltitudeAck:
    case WriteCurrentBikeAck:
    case WriteHeartRateAck:
    case WriteDateTimeAck:
    case WriteBikeSettingsAck:
    case WriteBike1SettingsAck:
    case WriteBike2SettingsAck:
    case WriteBikeAuxAck:
    case WriteModelOptionAck:
        return;
    default:
        break;
    }

    if (!data) // a model was set by hand, but nothing identified itself yet
        return;
    decodeBlock(code, *data, payload);
}

void AnswerDispatcher::decodeBlock(unsigned char code, ModelData &data, const QByteArray &payload)
{
    using Decoder = bool (*)(ModelData &, const QByteArray &);
    struct Block
    {
        unsigned char code;
        Decoder decode;
        ModelDataUpdateBits bit;
    };
    static constexpr Decoder firstBike = [](ModelData &record, const QByteArray &bytes) {
        return AnswerDecoder::bikeSettings(record, 0, bytes);
    };
    static constexpr Decoder secondBike = [](ModelData &record, const QByteArray &bytes) {
        return AnswerDecoder::bikeSettings(record, 1, bytes);
    };
    static constexpr Block blocks[] = {
        {AltitudeData, AnswerDecoder::altitude, AltitudeUpdate},
        {CurrentBikeData, AnswerDecoder::currentBike, CurrentBikeUpdate},
        {HeartRateData, AnswerDecoder::heartRate, HeartRateUpdate},
        {DateTimeData, AnswerDecoder::dateTime, DateTimeUpdate},
        {BikeSettingsData, firstBike, Bike1Update},
        {Bike1SettingsData, firstBike, Bike1Update},
        {Bike2SettingsData, secondBike, Bike2Update},
        {BikeAuxData, AnswerDecoder::bikeAux, BikeAuxUpdate},
        {FirmwareVersionData, AnswerDecoder::firmwareVersion, FirmwareVersionUpdate},
        {ModelOptionData, AnswerDecoder::modelOption, ModelOptionUpdate},
    };
    const auto block = std::find_if(std::begin(blocks), std::end(blocks),
                                    [code](const Block &candidate) { return candidate.code == code; });
    if (block == std::end(blocks)) {
        qCritical() << "Unknown command: " << hexCode(code);
        return;
    }
    announceIf(block->decode(data, payload), block->bit);
}

bool AnswerDispatcher::hasExpectedLength(unsigned char code, const QByteArray &payload) const
{
    const int expected = currentModel->answerSize(code) & 0xFF;
    if (payload.size() == expected)
        return true;
    const auto fixed = fixedAnswerSizes.constFind(code);
    if (fixed != fixedAnswerSizes.constEnd() && fixed.value() == payload.size())
        return true;
    qCritical() << "Illegal command (" << hexCode(code) << ") size: " << payload.size()
                << " should be: " << expected;
    return false;
}

void AnswerDispatcher::identify(QByteArray &payload)
{
    const unsigned char id = payload.isEmpty() ? 0 : static_cast<unsigned char>(payload.at(0));
    DeviceModel *row = link.getCatalogue().value(id, nullptr);
    if (!row) {
        link.setConnectionState(Closed, UnknownDeviceType);
        return;
    }
    currentModel = row;
    link.matchLineSpeed(row->baudRate);
    ModelData *previous = std::exchange(modelData, new ModelData(row));
    link.setConnectionState(Connected, NoError);
    emit link.modelDataUpdate(modelData, IdentityUpdate);
    retireRecord(previous);

    if (link.recovery)
        return;
    if (row->has(DeviceModel::FirmwareCheck)) {
        link.sendCommand(ReadFirmwareVersion);
        return;
    }
    requestModelReads();
}

void AnswerDispatcher::requestModelReads()
{
    const DeviceModel *model = currentModel;
    if (!model)
        return;
    for (int request : model->requestCommands)
        link.sendCommand(static_cast<TunedockCommand>(request));
    link.startTimer();
}

void AnswerDispatcher::adopt(ModelData *fresh, int bits)
{
    ModelData *previous = std::exchange(modelData, fresh);
    emit link.modelDataUpdate(modelData, bits);
    retireRecord(previous);
}

void AnswerDispatcher::retireRecord(ModelData *previous)
{
    if (!previous)
        return;
    // Posted through Qt's own event queue behind the signals just emitted, so a queued receiver
    // that still holds the previous record reads it before it goes.
    std::shared_ptr<ModelData> owner(previous);
    QMetaObject::invokeMethod(&link, [owner] {}, Qt::QueuedConnection);
}

void AnswerDispatcher::announceIf(bool decoded, ModelDataUpdateBits block)
{
    if (decoded)
        emit link.modelDataUpdate(modelData, block);
    else
        qDebug() << "Answer too short to decode, block" << int(block) << "left as it was";
}

void AnswerDispatcher::acknowledgeFirmwareBlock()
{
    const int acked = ++fwBlocksAcked;
    qDebug() << "ack for fw block " << acked;
    emit link.fwUpdateProgressChanged(acked);
    const DeviceModel *model = currentModel;
    // Without an identified model there is no block count to complete against.
    if (model && acked == model->fwBlockCount) {
        qDebug() << "fw update complete";
        emit link.fwUpdateComplete();
    }
}
