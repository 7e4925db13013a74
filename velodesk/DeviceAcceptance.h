// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/ConnectionState.h"

#include <QCoreApplication>

class ComConnection;
class DeviceModel;
class ModelData;
class QLabel;
class QWidget;

/// The checks made between identification and reading, the same for every window: only the
/// supported models are taken, and a model with a firmware check is read only once its firmware
/// passed. A refused device is told in a message box and its link closed.
///
/// The verdict on the firmware follows the reports the window has received, not the link's state
/// at the moment the answer is delivered: reports travel queued, so the two need not agree, and
/// an answer must not be lost for that (the user would wait for a verdict that never comes).
class DeviceAcceptance
{
    Q_DECLARE_TR_FUNCTIONS(DeviceAcceptance)

public:
    enum class Verdict {
        Accepted,
        Refused,
        NotAwaited, ///< no accepted identification of a live link waits for this answer
    };

    /// The connection stays the caller's; boxes open over boxParent.
    DeviceAcceptance(ComConnection *connection, QWidget *boxParent);

    /// Follows the link's reports: a link opening anew, closing or down awaits no firmware verdict.
    void noteState(ConnectionState state, ErrorMessage error);
    /// Judges an identified model; a refused one closes the link, then the critical box opens.
    Verdict checkModel(const ModelData &data);
    /// Judges the firmware answer awaited since the model was accepted: below the model's
    /// minimum the warning box opens and then the link is closed; else the link may read on.
    Verdict checkFirmware(const ModelData &data);

    /// Shows a model's name, and its picture scaled into 200 by 100 pixels (hidden when missing).
    static void showModel(const DeviceModel &model, QLabel *name, QLabel *picture);

private:
    ComConnection *connection;
    QWidget *boxParent;
    bool firmwareAwaited = false;
};
