// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QString>

class QWidget;

/// Tells the user that a ride could not be written, the same way in every window.
class ExportFailure
{
    Q_DECLARE_TR_FUNCTIONS(ExportFailure)

public:
    /// The modal critical box "Exporting failed", naming the file and the operating system's
    /// reason (when known); returns when the user has pressed OK.
    static void tell(QWidget *parent, const QString &path, const QString &reason);
};
