// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "outpost/outpost_global.h"

#include <stdexcept>
#include <string>

namespace fit {

/// Raised when a message is asked for something the profile does not describe.
class OUTPOST_EXPORT RuntimeException : public std::runtime_error
{
public:
    explicit RuntimeException(const std::string &what) : std::runtime_error(what) {}
};

} // namespace fit
