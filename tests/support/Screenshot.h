// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDir>
#include <QString>
#include <QWidget>

/// Saves a picture of the window as NAME.png under the folder named by PACEROW_SCREENSHOT_DIR,
/// if it is set; the README's pictures are renewed this way.
inline void saveScreenshot(QWidget &window, const QString &name)
{
    const QString folder = qEnvironmentVariable("PACEROW_SCREENSHOT_DIR");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    window.grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
}
