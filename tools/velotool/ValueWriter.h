// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/ModelData.h"
#include "linkhub/TunedockCommand.h"
#include "tools/velotool/ExitStatus.h"

#include <QCoreApplication>
#include <QList>

#include <chrono>
#include <functional>
#include <optional>

class Console;
class DeviceReader;

/// Writes one block of a bike computer's values and reads it back: reads the device, lets the
/// caller change a copy of the record, writes the block, and asks for it again until the device
/// reports the value written. The session is closed politely at the end.
class ValueWriter
{
    Q_DECLARE_TR_FUNCTIONS(ValueWriter)

public:
    /// Models whose values can be written and read back: every model whose answers the link decodes.
    static QList<int> writableModels();
    /// How long the device may take to report the written value.
    static constexpr std::chrono::milliseconds ConfirmTimeout{15000};
    /// Reads of the block after the write before the device counts as not having taken it.
    static constexpr int ReadBackAttempts = 5;

    struct Change
    {
        ModelDataUpdateBits block;
        /// Changes the copy to be written; a failure refuses the change and nothing is written.
        std::function<std::optional<ToolFailure>(ModelData &copy)> apply;
        /// The request that reads the block again, by the record's model.
        std::function<TunedockCommand(const ModelData &record)> readBack;
        /// Whether the device reports the value written.
        std::function<bool(const ModelData &written, const ModelData &reported)> took;
        /// The failure when the device keeps reporting another value.
        std::function<QString(const ModelData &reported)> notTaken;
    };

    ValueWriter(DeviceReader &device, Console &console) : m_device(device), m_console(console) {}

    ToolFailure run(const Change &change);

    /// The record as read before the write, and as reported after it; set once run() succeeded.
    const std::optional<ModelData> &before() const { return m_before; }
    const std::optional<ModelData> &after() const { return m_after; }

private:
    DeviceReader &m_device;
    Console &m_console;
    std::optional<ModelData> m_before;
    std::optional<ModelData> m_after;
};
