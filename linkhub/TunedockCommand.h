// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/// One-byte command codes of the device protocol. A request has bit 7 clear;
/// its answer is the same code with bit 7 set (odd answers carry data, even ones acknowledge a write).
enum TunedockCommand : unsigned char {
    ReadDeviceId = 0x12,
    ReadAltitude = 0x13,
    WriteAltitude = 0x14,
    ReadCurrentBike = 0x21,
    WriteCurrentBike = 0x22,
    ReadHeartRate = 0x31,
    WriteHeartRate = 0x32,
    ReadDateTime = 0x41,
    WriteDateTime = 0x42,
    ReadBikeSettings = 0x51,
    WriteBikeSettings = 0x52,
    ReadBike1Settings = 0x53,
    WriteBike1Settings = 0x54,
    ReadBike2Settings = 0x55,
    WriteBike2Settings = 0x56,
    ReadBikeAux = 0x61,
    WriteBikeAux = 0x62,
    CloseSession = 0x63,
    ReadFirmwareVersion = 0x64,
    ReadModelOption = 0x65,
    WriteModelOption = 0x66,
    EnterBootloader = 0x71,
    FirmwareBlock = 0x75,

    DeviceIdData = 0x92,
    AltitudeData = 0x93,
    WriteAltitudeAck = 0x94,
    CurrentBikeData = 0xA1,
    WriteCurrentBikeAck = 0xA2,
    HeartRateData = 0xB1,
    WriteHeartRateAck = 0xB2,
    DateTimeData = 0xC1,
    WriteDateTimeAck = 0xC2,
    BikeSettingsData = 0xD1,
    WriteBikeSettingsAck = 0xD2,
    Bike1SettingsData = 0xD3,
    WriteBike1SettingsAck = 0xD4,
    Bike2SettingsData = 0xD5,
    WriteBike2SettingsAck = 0xD6,
    BikeAuxData = 0xE1,
    WriteBikeAuxAck = 0xE2,
    SessionClosed = 0xE3,
    FirmwareVersionData = 0xE4,
    ModelOptionData = 0xE5,
    WriteModelOptionAck = 0xE6,
    BootloaderReady = 0xF1,
    FirmwareBlockAck = 0xF5,
};

/// The answer code the device sends for a request code.
constexpr unsigned char answerCodeFor(unsigned char requestCode) { return requestCode | 0x80; }
