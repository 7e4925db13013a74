// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/// Ways in which the simulated bike computer misbehaves on demand.
/// Modes that take a count (DropNthAnswer, UnplugAfter, DuplicateAnswer) count answers from the
/// moment the mode is set; the block modes take a block index; the others act on every answer
/// while they are set, some with a figure given in place of the count.
enum class FaultMode {
    None,
    /// Requests are received and recorded but never answered.
    Silent,
    /// The n-th answer is not sent at all, as if the request had been missed; the device's
    /// line speed stays as it was, so a retransmission is answered normally.
    DropNthAnswer,
    /// Every answer goes out with its checksum one too high.
    CorruptChecksum,
    /// A few bytes that are no frame start (SimulatedBikeComputer::NoiseBytes) precede every answer.
    NoiseBeforeAnswer,
    /// Every answer payload is one byte short; an empty payload gets one zero byte instead.
    WrongLength,
    /// The identification answer names SimulatedBikeComputer::UnknownModelId; the device
    /// then stays at the identification speed.
    UnknownId,
    /// After n more answers the device closes its side of the line; n = 0 unplugs at the next request.
    /// The PC side sees a hang-up, as when a USB bridge is pulled.
    UnplugAfter,
    /// The acknowledgement of firmware block n is not sent the first time the block arrives;
    /// its retransmission is acknowledged.
    DropBlockAck,
    /// Firmware block n is acknowledged, then the device answers nothing more.
    SilentAfterBlock,
    /// The firmware version is answered, then the device answers nothing more, as one whose
    /// line breaks down between the firmware check and the reading of its values.
    SilentAfterFirmware,
    /// Write requests are recorded but neither stored nor acknowledged.
    UnacknowledgedWrite,
    /// The n-th answer goes out twice in a row; n = 0 sends every answer twice. A repeated
    /// identification answer follows at the model's speed, once the PC side has switched to it.
    DuplicateAnswer,
    /// Every answer is complete on the wire the given number of milliseconds after its request was.
    SlowAnswers,
    /// The identification answer names the catalogue model whose id is given; the device goes on
    /// answering as the model it is, at that model's speeds.
    AnotherModelId,
    /// The device answers nothing and floods the line with noise bytes (no frame start among
    /// them) as fast as the line takes them, as a broken bridge or a runaway device does.
    BabblingLine,
};
