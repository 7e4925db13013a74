// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LinkRecorder.h"

#include "linkhub/ComConnection.h"
#include "tools/simulator/SimulatedBikeComputer.h"

#include <QTest>

#include <chrono>

/// Waits long enough for a whole handshake and read phase at 600 baud, even under a thread sanitizer.
constexpr std::chrono::milliseconds SessionTimeout{40000};
/// Answer wait for tests of lost devices; long enough for any answer at 9600 baud.
constexpr std::chrono::milliseconds ShortAnswerTimeout{600};

/// Number of answers of the read phase that the link announces for a model: the Lumo 70's
/// short altitude, heart-rate and bike-settings answers are not decoded and not announced.
inline int announcedReads(const DeviceModel *model)
{
    int count = 0;
    for (int request : model->requestCommands) {
        const bool undecoded = model->id == 0x61
            && (request == ReadAltitude || request == ReadHeartRate || request == ReadBike1Settings
                || request == ReadBike2Settings);
        if (!undecoded)
            ++count;
    }
    return count;
}

namespace detail {
inline void bringUpSteps(ComConnection &connection, LinkRecorder &recorder, const SimulatedBikeComputer &device)
{
    const DeviceModel *model = device.model();
    const int timeout = int(SessionTimeout.count());
    connection.open(device.portName());
    QTRY_VERIFY_WITH_TIMEOUT(recorder.hasUpdate(IdentityUpdate), timeout);
    int announcements = 1 + announcedReads(model);
    if (model->has(DeviceModel::FirmwareCheck)) {
        QTRY_VERIFY_WITH_TIMEOUT(recorder.hasUpdate(FirmwareVersionUpdate), timeout);
        connection.approveFw();
        ++announcements;
    }
    QTRY_VERIFY_WITH_TIMEOUT(recorder.updates.size() >= announcements, timeout);
}

inline void startDevice(SimulatedBikeComputer &device)
{
    QVERIFY(device.start());
}
} // namespace detail

/// Opens the link to the device and lets it read the model completely: approves the firmware
/// where the model asks for that, and waits until the read phase has been announced.
/// False (with the test failed) when the device did not get that far.
[[nodiscard]] inline bool bringUp(ComConnection &connection, LinkRecorder &recorder, const SimulatedBikeComputer &device)
{
    detail::bringUpSteps(connection, recorder, device);
    return !QTest::currentTestFailed();
}

/// A simulated device of one model, a connection and its recorder, for a test that starts from
/// a link that has read the model completely. Taken apart where it is used:
///     SimulatedLink link(0x21);
///     if (!link.start())
///         return;
///     auto &[device, connection, recorder] = link;
struct SimulatedLink
{
    explicit SimulatedLink(quint8 modelId) : device(modelId), recorder(connection) {}

    /// Starts the device and brings the link up. False (with the test failed) when the device
    /// did not start or did not get that far.
    [[nodiscard]] bool start()
    {
        detail::startDevice(device);
        return !QTest::currentTestFailed() && bringUp(connection, recorder, device);
    }

    SimulatedBikeComputer device;
    ComConnection connection;
    LinkRecorder recorder;
};
