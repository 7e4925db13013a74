// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/ConnectionState.h"

#include <QByteArray>

#include <atomic>
#include <chrono>
#include <functional>
#include <optional>

/// The link's transfer log for support: one line per frame sent or received, per unanswered
/// wait and per state change, through the logging category "linkhub.wire" at debug level.
/// Off by default; QT_LOGGING_RULES="linkhub.wire.debug=true" or enable() switches it on, and
/// WireLogFile writes it to a file.
///
/// Line forms (times in seconds since the port was last opened, speeds in baud, codes and bytes
/// in hexadecimal):
///   "   0.012 sent 600 code 12 length 0 attempt 1: ff 55 12 00 12"
///   "   2.015 resent 600 code 12 length 0 attempt 2: ff 55 12 00 12"
///   "   0.410 received 600 code 92 length 1: ff 55 92 01 51 e4"
///   "   0.410 rejected 600 code 92 length 1: ff 55 92 01 51 e5 (checksum should be e4)"
///   "   2.012 no answer 600 code 12 attempt 1 within 2000 ms"
///   "   0.000 state Opening NoError"
/// Every call may come from any thread.
class WireLog
{
public:
    using SpeedSource = std::function<qint32()>;

    /// `lineSpeed` tells the port's current speed; it is asked only while the log is on.
    explicit WireLog(SpeedSource lineSpeed);

    static constexpr const char *CategoryName = "linkhub.wire";
    /// Switches the category on for this process.
    static void enable();
    static bool isEnabled();

    /// `packet` is the queued packet (code, length, payload, checksum); attempts count from 1.
    void frameSent(const QByteArray &packet, int attempt);
    void frameReceived(unsigned char code, const QByteArray &payload);
    /// A whole frame whose checksum was wrong.
    void frameRejected(unsigned char code, const QByteArray &payload, unsigned char checksum);
    void noAnswer(const QByteArray &packet, int attempt, std::chrono::milliseconds waited);
    /// An Opening restarts the clock.
    void stateChanged(ConnectionState state, ErrorMessage error);

private:
    void writeReceived(const QString &event, unsigned char code, const QByteArray &payload,
                       std::optional<unsigned char> wrongChecksum);
    void write(const QString &event);

    SpeedSource lineSpeed;
    std::atomic<std::chrono::steady_clock::rep> openedAt;
};
