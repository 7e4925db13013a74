// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/velotool/ExitStatus.h"

#include <QCoreApplication>
#include <QStringList>

class Console;
class SporticsUploader;

/// velotool upload: posts a FIT file to the Sportics portal with the user's portal credentials.
class UploadCommand
{
    Q_DECLARE_TR_FUNCTIONS(UploadCommand)

public:
    explicit UploadCommand(Console &console) : m_console(console) {}

    int run(const QStringList &arguments);

    static QString summary();

private:
    /// Runs the upload to its end, printing progress; the verdict as a failure, or nothing.
    std::optional<ToolFailure> post(SporticsUploader &uploader, const QString &user, const QString &password,
                                    const QByteArray &fit);

    Console &m_console;
};
