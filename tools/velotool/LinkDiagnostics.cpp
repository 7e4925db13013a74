// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/velotool/LinkDiagnostics.h"

#include "outpost/fit/Encode.h"

#include <QString>

#include <atomic>
#include <cstdio>
#include <cstring>

namespace {

// Read on the link's worker threads too, when they write a diagnostic.
std::atomic<bool> shown{false};
QtMessageHandler previous = nullptr;

} // namespace

void LinkDiagnostics::install()
{
    previous = qInstallMessageHandler(&LinkDiagnostics::handle);
}

void LinkDiagnostics::setShown(bool show)
{
    shown = show;
}

void LinkDiagnostics::handle(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    // A value left out of a file written is the user's business, not a diagnostic of the link.
    if (type == QtWarningMsg && context.category && std::strcmp(context.category, fit::Encode::LeftOutCategory) == 0) {
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
        return;
    }
    if (previous && (type == QtFatalMsg || shown))
        previous(type, context, message);
}
