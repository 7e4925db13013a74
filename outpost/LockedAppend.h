// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

/// Appends to a file whole or not at all, one writer at a time. Other programs that append
/// through this class at the same moment wait for the lock and land after it, whole; a failed
/// append leaves the file exactly as it was, and a file it created is removed again.
/// Internal to the export library.
class LockedAppend
{
public:
    enum class Result { Appended, OpenFailed, WriteFailed };

    /// Opens `fileName` (creating it when missing), locks it, asks `bytesFor` what to append given
    /// the file's size under the lock, appends that and syncs it to the disk before unlocking.
    /// On failure, `reason` (when given) receives the operating system's words for it.
    static Result append(const QString &fileName, const std::function<QByteArray(qint64 sizeBefore)> &bytesFor,
                         QString *reason = nullptr);
};
