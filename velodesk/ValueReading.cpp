// SPDX-License-Identifier: GPL-3.0-or-later
#include "velodesk/ValueReading.h"

#include "velodesk/ConnectionStatus.h"

#include "linkhub/DeviceModel.h"

void ValueReading::modelAccepted(const DeviceModel &model)
{
    progress = ReadProgress(model);
    reading = !model.has(DeviceModel::FirmwareCheck);
    cutShort = false;
}

void ValueReading::firmwareAccepted()
{
    reading = true;
}

bool ValueReading::noteState(ConnectionState state, ErrorMessage error)
{
    if (error == NoError && state == Opening) {
        progress = ReadProgress();
        reading = false;
        cutShort = false;
        return true;
    }
    if (!ConnectionStatus::linkEnded(state, error))
        return false;
    // The closed report that follows a loss keeps what the loss left missing.
    if (reading)
        cutShort = !progress.isComplete();
    reading = false;
    return true;
}

bool ValueReading::noteBlock(int updateBits)
{
    return reading && progress.note(updateBits);
}

QString ValueReading::text() const
{
    if (cutShort)
        return tr("Not every value arrived; missing: %1. Connect again to read them.")
            .arg(progress.missingNames().join(QStringLiteral(", ")));
    if (reading && !progress.isComplete())
        return tr("Reading the values (%1 of %2)...").arg(progress.readCount()).arg(progress.expectedCount());
    return QString();
}
