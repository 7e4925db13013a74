// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

/// A pseudo-terminal pair that stands in for the serial line between PC and bike computer.
/// The PC side opens portName() like any serial port; the device side reads and writes the master.
/// Not thread-safe: one thread uses it at a time.
class PseudoTerminal
{
public:
    PseudoTerminal() = default;
    ~PseudoTerminal();

    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    /// Creates the pair with the PC side in raw mode; false (see errorString()) when that fails.
    bool open();
    bool isOpen() const { return masterFd >= 0; }
    /// Path of the PC side, e.g. /dev/pts/7; stays readable after unplug().
    QString portName() const { return slaveName; }
    QString errorString() const { return lastError; }

    /// File descriptor of the device side (non-blocking), or -1 when closed.
    int deviceFd() const { return masterFd; }

    /// Speed in baud that the PC side set last (its output speed), 0 when unknown or closed.
    qint32 lineSpeed() const;

    /// Everything the PC side has written so far; empty when nothing waits.
    QByteArray readAvailable();
    /// Writes one byte towards the PC side; false when the line is closed.
    bool writeByte(char byte);

    /// Writes towards the PC side as many bytes as fit without waiting; the count written,
    /// -1 when the line is closed.
    qint64 writeSome(const QByteArray &bytes);

    /// Closes the device side and the spare PC-side descriptor: the PC side sees a hang-up.
    void unplug();

    /// Maps a termios speed constant to baud; 0 for one it does not know.
    static qint32 baudFromSpeed(unsigned int speed);

private:
    int masterFd = -1;
    // Kept open so that the PC side can close and reopen the port without a hang-up.
    int spareSlaveFd = -1;
    QString slaveName;
    QString lastError;
};
