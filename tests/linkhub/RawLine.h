// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/ComConnection.h"
#include "tools/simulator/PseudoTerminal.h"

#include <QElapsedTimer>
#include <QTest>

/// Bytes the link wrote, read raw from the device side of the line until `count` have arrived
/// or the time is up.
inline QByteArray readFromLink(PseudoTerminal &line, int count, int timeoutMs = 10000)
{
    QByteArray bytes;
    QElapsedTimer clock;
    clock.start();
    while (bytes.size() < count && clock.elapsed() < timeoutMs) {
        bytes += line.readAvailable();
        QTest::qWait(5);
    }
    return bytes;
}

/// A session in recovery mode on a fresh line: the port is open at the identification settings
/// and the link sends nothing by itself. With a model id, that catalogue model is set by hand.
inline bool openQuietSession(ComConnection &connection, PseudoTerminal &line, int modelId = 0)
{
    if (!line.open())
        return false;
    connection.open(line.portName(), true);
    if (modelId)
        connection.setDeviceModel(connection.getCatalogue().value(quint8(modelId)));
    return connection.getConnectionState() == WaitingForAnswer;
}
