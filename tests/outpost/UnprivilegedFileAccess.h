// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/fsuid.h>
#include <unistd.h>

/// While it lives, the file system checks this thread's file accesses as for the user "nobody",
/// so permission cases also fail when the tests run as root (who would pass every check).
/// Without root it changes nothing: the permissions apply to the user running the tests anyway.
class UnprivilegedFileAccess
{
public:
    static constexpr unsigned Nobody = 65534;

    UnprivilegedFileAccess()
    {
        if (geteuid() != 0)
            return;
        setfsgid(Nobody);
        setfsuid(Nobody);
        // setfsuid reports the previous value, so asking again tells whether the switch held.
        m_switched = setfsuid(Nobody) == int(Nobody);
    }

    ~UnprivilegedFileAccess()
    {
        if (geteuid() != 0)
            return;
        setfsuid(0);
        setfsgid(0);
    }

    UnprivilegedFileAccess(const UnprivilegedFileAccess &) = delete;
    UnprivilegedFileAccess &operator=(const UnprivilegedFileAccess &) = delete;

    /// False when running as root but the file system identity could not be changed.
    bool isEffective() const { return geteuid() != 0 || m_switched; }

    static bool runningAsRoot() { return geteuid() == 0; }

private:
    bool m_switched = false;
};
