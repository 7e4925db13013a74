// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtCore/qglobal.h>

#if defined(OUTPOST_LIBRARY)
#  define OUTPOST_EXPORT Q_DECL_EXPORT
#else
#  define OUTPOST_EXPORT Q_DECL_IMPORT
#endif
