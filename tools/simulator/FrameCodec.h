// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <optional>

/// One frame the PC sent, as the device side cut it from the line.
struct RequestFrame
{
    quint8 code = 0;
    QByteArray payload;
    bool checksumOk = false;
};

/// The device's side of the packet frame: FF 55, code, length, payload, additive checksum.
/// The device sends one length byte; the PC sends two (low byte first) with FirmwareBlock.
class FrameCodec
{
public:
    /// Longest payload a device frame can carry with its one length byte.
    static constexpr int MaxAnswerPayload = 255;

    /// A complete device frame; a payload longer than MaxAnswerPayload is cut to it.
    static QByteArray encode(quint8 code, const QByteArray &payload);
    /// Wrap-around 8-bit sum of all bytes.
    static quint8 checksum(const QByteArray &bytes);

    /// Feeds one received byte; returns the frame it completes, if any (also one whose
    /// checksum is wrong, marked so). Bytes outside a frame are skipped until FF 55.
    std::optional<RequestFrame> push(quint8 byte);
    /// Forgets a partly received frame.
    void reset();

private:
    enum class Stage { Start, Sync, Code, LengthLow, LengthHigh, Payload, Checksum };

    Stage stage = Stage::Start;
    RequestFrame frame;
    int length = 0;
};
