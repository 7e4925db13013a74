// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/DeviceModel.h"
#include "linkhub/ModelData.h"
#include "linkhub/ModelDataUpdateBits.h"
#include "linkhub/TunedockCommand.h"

#include <QByteArray>
#include <QMap>

class ComConnection;

/// Acts on the device's answers for its connection: checks each answer's length against the
/// identified model, identifies the device, decodes blocks into the record and announces them,
/// retires replaced records, and counts acknowledged firmware blocks. It owns the identified
/// model row, the record and the firmware block count.
///
/// Locks: none. It lives on the user-interface thread and only that thread calls it; answers
/// read on the poll thread reach it through the connection's call queue.
class AnswerDispatcher
{
public:
    explicit AnswerDispatcher(ComConnection &link);
    ~AnswerDispatcher();

    AnswerDispatcher(const AnswerDispatcher &) = delete;
    AnswerDispatcher &operator=(const AnswerDispatcher &) = delete;

    void dispatch(TunedockCommand command, QByteArray &payload);

    /// The catalogue row of the identified (or set) device, or null.
    DeviceModel *model() const { return currentModel; }
    void setModel(DeviceModel *model) { currentModel = model; }
    /// The current record, or null before the first identification.
    ModelData *record() const { return modelData; }
    /// Makes `fresh` (owned from now on) the current record and announces it with `bits`.
    void adopt(ModelData *fresh, int bits);
    /// Queues the model's read requests and starts the clock poll.
    void requestModelReads();
    /// A firmware transfer starts counting its acknowledged blocks afresh.
    void restartFirmwareCount() { fwBlocksAcked = 0; }

private:
    void identify(QByteArray &payload);
    bool hasExpectedLength(unsigned char code, const QByteArray &payload) const;
    void acknowledgeFirmwareBlock();
    /// Decodes a block of the record and announces it; complains of a code that names no block.
    void decodeBlock(unsigned char code, ModelData &data, const QByteArray &payload);
    /// Announces a decoded block; a payload too short for its layout changed nothing.
    void announceIf(bool decoded, ModelDataUpdateBits block);
    /// Frees a record that was replaced, once every signal posted so far to receivers on the
    /// user-interface thread has been delivered: those signals may still name it.
    void retireRecord(ModelData *previous);

    ComConnection &link;
    QMap<unsigned char, int> fixedAnswerSizes;
    DeviceModel *currentModel = nullptr; // a catalogue row, not owned
    ModelData *modelData = nullptr; // owned
    int fwBlocksAcked = 0;
};
