// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtCore/qglobal.h>

#if defined(LINKHUB_LIBRARY)
#  define LINKHUB_EXPORT Q_DECL_EXPORT
#else
#  define LINKHUB_EXPORT Q_DECL_IMPORT
#endif
