// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtCore/qglobal.h>

#if defined(LOGBOOK_LIBRARY)
#  define LOGBOOK_EXPORT Q_DECL_EXPORT
#else
#  define LOGBOOK_EXPORT Q_DECL_IMPORT
#endif
