// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/DeviceModel.h"

#include <QByteArray>
#include <QSet>

/// The device's boot loader: takes the numbered blocks of a firmware transfer and keeps the
/// application part they carry, so that tests can compare it with the image sent.
class BootLoader
{
public:
    explicit BootLoader(const DeviceModel *model) : model(model) {}

    bool isActive() const { return active; }
    /// The device stops its firmware and waits for blocks; earlier blocks are forgotten.
    void enter();
    /// The device restarts its firmware.
    void leave() { active = false; }

    /// Stores a block (index byte, then the block's bytes); the index, or -1 for a block
    /// that does not fit the model's transfer.
    int store(const QByteArray &payload);
    /// Whether every block of the model's transfer has arrived.
    bool isComplete() const { return received.size() == model->fwBlockCount; }
    /// The application part received so far; blocks not yet received are zero.
    QByteArray image() const { return application; }
    int blocksReceived() const { return int(received.size()); }

private:
    const DeviceModel *model;
    bool active = false;
    QByteArray application;
    QSet<int> received;
};
