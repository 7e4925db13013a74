// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/ComConnection.h"

#include <QEventLoop>
#include <QString>
#include <QTimer>

#include <chrono>

/// What one timed run against a simulated bike computer measured.
struct BenchmarkResult
{
    bool completed = false;
    QString failure;
    std::chrono::microseconds elapsed{0};
    std::chrono::microseconds wireTime{0};
    int bytesOnWire = 0;
};

/// Ends the run's loop with a failure when the link reports an error, or when the run takes
/// longer than the limit.
inline void endOnFailure(ComConnection &connection, QEventLoop &loop, BenchmarkResult &result,
                         std::chrono::seconds limit)
{
    QObject::connect(&connection, &ComConnection::connectionStateChanged, &loop,
                     [&loop, &result](ConnectionState state, ErrorMessage error) {
                         if (error != NoError || state == Error) {
                             result.failure = QStringLiteral("link reported state %1, error %2").arg(state).arg(error);
                             loop.quit();
                         }
                     });
    QTimer::singleShot(limit, &loop, [&loop, &result, limit] {
        result.failure = QStringLiteral("not complete within %1 s").arg(limit.count());
        loop.quit();
    });
}
