// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/velotool/Console.h"

#include <cstdio>

Console::Console() : m_out(stdout), m_err(stderr)
{
}

void Console::print(const QString &text)
{
    m_out << text;
    if (!text.endsWith(QLatin1Char('\n')))
        m_out << '\n';
    m_out.flush();
}

void Console::progress(const QString &line)
{
    if (m_quiet)
        return;
    endOverwrite();
    m_err << line << '\n';
    m_err.flush();
}

void Console::error(const QString &line)
{
    endOverwrite();
    m_err << line << '\n';
    m_err.flush();
}

int Console::fail(const ToolFailure &failure)
{
    error(failure.message);
    return int(failure.status);
}

void Console::overwrite(const QString &line)
{
    if (m_quiet)
        return;
    // Back to the start of the line, the new text, and the rest of the old one cleared.
    m_err << '\r' << line << "\x1b[K";
    m_err.flush();
    m_overwriting = true;
}

void Console::endOverwrite()
{
    if (!m_overwriting)
        return;
    m_overwriting = false;
    m_err << '\n';
    m_err.flush();
}
