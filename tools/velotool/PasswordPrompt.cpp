// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/velotool/PasswordPrompt.h"

#include <cstdio>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace {

std::optional<QString> readLine()
{
    std::string line;
    int c = 0;
    while ((c = std::getchar()) != EOF && c != '\n')
        line.push_back(char(c));
    if (c == EOF && line.empty())
        return std::nullopt;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return QString::fromLocal8Bit(line.data(), qsizetype(line.size()));
}

/// Turns the terminal's echo off while it lives.
class EchoOff
{
public:
    EchoOff()
    {
        m_active = ::tcgetattr(STDIN_FILENO, &m_previous) == 0;
        if (!m_active)
            return;
        termios silent = m_previous;
        silent.c_lflag &= ~tcflag_t(ECHO);
        silent.c_lflag |= ECHONL;
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &silent);
    }
    ~EchoOff()
    {
        if (m_active)
            ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &m_previous);
    }
    EchoOff(const EchoOff &) = delete;
    EchoOff &operator=(const EchoOff &) = delete;

private:
    termios m_previous{};
    bool m_active = false;
};

} // namespace

std::optional<QString> PasswordPrompt::fromTerminal(const QString &prompt)
{
    if (!::isatty(STDIN_FILENO))
        return std::nullopt;
    std::fputs(prompt.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
    const EchoOff echoOff;
    return readLine();
}

std::optional<QString> PasswordPrompt::fromStandardInput()
{
    return readLine();
}
