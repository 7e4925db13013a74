// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

/// One field of a definition message as read from a file.
struct FitFieldDefinition
{
    quint8 number = 0;
    quint8 size = 0;
    quint8 baseType = 0;
};

/// A definition message as read from a file.
struct FitDefinition
{
    quint8 localNumber = 0;
    quint16 globalNumber = 0;
    QList<FitFieldDefinition> fields;
};

/// One field of a data message: its number, base type code and raw bytes.
struct FitField
{
    quint8 number = 0;
    quint8 baseType = 0;
    QByteArray bytes;

    /// The bytes as an unsigned little-endian number.
    quint64 raw() const;
    /// The bytes as a signed little-endian number of their own width.
    qint64 signedRaw() const;
};

/// A data message, decoded with the definition in force for its local number.
struct FitMessage
{
    quint8 localNumber = 0;
    quint16 globalNumber = 0;
    QList<FitField> fields;

    /// The field with that number, or nullptr.
    const FitField *field(quint8 number) const;
    QList<quint8> fieldNumbers() const;
};

/// Everything a FIT file holds, or the first reason it could not be read.
struct FitFile
{
    QString error; ///< empty when the whole file was read and both CRCs match
    quint8 headerSize = 0;
    quint8 protocolVersion = 0;
    quint16 profileVersion = 0;
    quint32 dataSize = 0;
    QByteArray signature;
    quint16 headerCrc = 0;
    quint16 fileCrc = 0;
    QList<FitDefinition> definitions;
    QList<FitMessage> messages;
    QString sequence; ///< "D" for each definition and "M" for each data message, in file order

    bool isValid() const { return error.isEmpty(); }
    /// The data messages with that global number.
    QList<FitMessage> messagesOf(quint16 globalNumber) const;
};

/// A reader for the FIT files the tests write. It knows normal record headers and little-endian
/// definitions only, and checks the header CRC, the file CRC and the data size.
class FitReader
{
public:
    static FitFile read(const QByteArray &bytes);
    /// The FIT CRC-16, computed bit by bit.
    static quint16 crc(const QByteArray &bytes);
};
