// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <chrono>

/// The speed rules of the bike computer's end of the serial line.
///
/// The device listens and talks at 600 baud until it has identified itself, then at its
/// model's speed. It falls back to 600 baud when it has answered CloseSession, and when the
/// PC side, having followed it to the model's speed, leaves that speed again (it closed or
/// reopened the port for a new handshake). A PC side that never follows the switch is not
/// understood: its requests arrive at the wrong speed. During a session the device also listens
/// at the firmware speed, where the PC asks it to enter its boot loader; the boot loader talks
/// at that speed only, until the firmware restarts.
class DeviceLine
{
public:
    static constexpr qint32 IdentificationSpeed = 600;
    static constexpr qint32 FirmwareSpeed = 9600;
    /// Start, 8 data and stop bit.
    static constexpr int BitsPerByte = 10;

    explicit DeviceLine(qint32 modelSpeed) : modelSpeed(modelSpeed) {}

    /// The speed the device listens and talks at now.
    qint32 speed() const { return current; }
    bool inSession() const { return session; }
    bool inBootLoader() const { return bootLoader; }
    bool understands(qint32 lineSpeed) const
    {
        return lineSpeed == current || (session && lineSpeed == FirmwareSpeed);
    }

    /// Notes the speed the PC side has set; true when that ends the session.
    bool observe(qint32 lineSpeed);
    /// The device has sent its identification answer.
    void identified();
    /// The device has confirmed the end of the session.
    void sessionClosed();
    /// The device has stopped its firmware for a transfer.
    void enterBootLoader();
    /// The firmware restarts after a transfer; the device waits for a new handshake.
    void leaveBootLoader();

    /// Time one byte takes on the wire at a speed.
    static std::chrono::nanoseconds byteTime(qint32 baud);

private:
    qint32 modelSpeed;
    qint32 current = IdentificationSpeed;
    bool session = false;
    bool bootLoader = false;
    bool pcFollowed = false; // the PC side was seen at the session's speed
};
