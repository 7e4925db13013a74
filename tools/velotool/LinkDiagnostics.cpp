#include "tools/velotool/LinkDiagnostics.h"

#include <atomic>

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
    if (previous && (type == QtFatalMsg || shown))
        previous(type, context, message);
}
