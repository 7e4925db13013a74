#pragma once

#include <QCoreApplication>

class QWidget;

/// Tells the user that a ride could not be written, the same way in every window.
class ExportFailure
{
    Q_DECLARE_TR_FUNCTIONS(ExportFailure)

public:
    /// The modal critical box "Exporting failed"; returns when the user has pressed OK.
    static void tell(QWidget *parent);
};
