// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/ConnectionState.h"
#include "linkhub/ReadProgress.h"

#include <QCoreApplication>
#include <QString>

class DeviceModel;

/// Follows the reading of an accepted device's values, the same way in every window: a ride may
/// be written only once every block of the model's read list has arrived, since a block that never
/// came would be written as zeros.
class ValueReading
{
    Q_DECLARE_TR_FUNCTIONS(ValueReading)

public:
    /// An accepted model: its values come once its firmware passed (at once without a check).
    void modelAccepted(const DeviceModel &model);
    /// The firmware passed: the link reads the values now.
    void firmwareAccepted();
    /// Notes a state report; a link opening anew starts over. True when the verdict may have changed.
    bool noteState(ConnectionState state, ErrorMessage error);
    /// Notes an announced block; true when it was one still awaited.
    bool noteBlock(int updateBits);

    /// Every value of the model's list has arrived since the link was opened.
    bool isComplete() const { return reading && progress.isComplete(); }
    /// For the line below the status: how far the reading is, which values a link that went down
    /// before the end left missing, or nothing.
    QString text() const;

private:
    ReadProgress progress;
    bool reading = false;
    bool cutShort = false; // the link went down while values were still awaited
};
