// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

/// Reads a password without showing it: from the terminal with echo off, or as the first line
/// of standard input when that is a pipe the caller chose.
class PasswordPrompt
{
public:
    /// Asks on the terminal (the prompt goes to standard error); nothing when standard input is
    /// not a terminal.
    static std::optional<QString> fromTerminal(const QString &prompt);
    /// The first line of standard input, without its line end; nothing when it is empty or closed.
    static std::optional<QString> fromStandardInput();
};
