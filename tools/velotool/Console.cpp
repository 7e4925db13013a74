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
    m_err << line << '\n';
    m_err.flush();
}

void Console::error(const QString &line)
{
    m_err << line << '\n';
    m_err.flush();
}
