// SPDX-License-Identifier: GPL-3.0-or-later
#include "velodesk/ExportWizard.h"

#include "velodesk/ChangeValuesPage.h"
#include "velodesk/ChooseFilePage.h"
#include "velodesk/ComPortPage.h"
#include "velodesk/DateTimeChoosePage.h"
#include "velodesk/DoneNotification.h"
#include "velodesk/ExportTypePage.h"
#include "velodesk/IntroPage.h"
#include "velodesk/UploadPage.h"
#include "velodesk/WizardPageId.h"

#include "linkhub/ComConnection.h"

#include <QDebug>
#include <QIcon>
#include <QMessageBox>
#include <QSettings>

namespace {
const QString showIntroKey = QStringLiteral("show_intro");
}

ExportWizard::ExportWizard(QWidget *parent) : QWizard(parent)
{
    setWindowTitle(tr("Velquist Agent"));
    setWindowIcon(QIcon(QStringLiteral(":/icon.png")));

    connection = std::make_unique<ComConnection>();

    const bool showIntro = QSettings().value(showIntroKey, true).toBool();
    if (showIntro)
        setPage(IntroPageId, new IntroPage);
    setPage(ComPortPageId, new ComPortPage(connection.get()));
    setPage(DateTimeChoosePageId, new DateTimeChoosePage);
    setPage(ChangeValuesPageId, new ChangeValuesPage(connection.get()));
    setPage(ExportTypePageId, new ExportTypePage);
    setPage(ChooseFilePageId, new ChooseFilePage(connection.get()));
    setPage(UploadPageId, new UploadPage);

    connect(this, &QWizard::rejected, this, &ExportWizard::onReject);
    connect(this, &QWizard::accepted, this, &ExportWizard::onAccept);

    closeGrace.setSingleShot(true);
    connect(&closeGrace, &QTimer::timeout, this, &ExportWizard::releaseLink);
    notification = new DoneNotification(this);
    connect(notification, &DoneNotification::settled, this, &ExportWizard::endWhenDone);
}

// The connection goes before the pages (children of the base class); they only hold its address.
ExportWizard::~ExportWizard() = default;

void ExportWizard::onReject()
{
    qDebug() << "wizard canceled";
    watchLinkUntilClosed();
    connection->close();
}

void ExportWizard::onAccept()
{
    qDebug() << "wizard accepted";
    watchLinkUntilClosed();
    connection->close();
    // Without the introduction page the field does not exist and counts as unticked.
    const bool showOnNext = page(IntroPageId) ? field(QStringLiteral("show_on_next")).toBool() : false;
    QSettings().setValue(showIntroKey, showOnNext);
    // Finish on the file page is accepted only once it has written the ride.
    if (currentId() == ChooseFilePageId)
        notification->show(field(QStringLiteral("outputPath")).toString());
}

void ExportWizard::watchLinkUntilClosed()
{
    if (releasePending)
        return;
    releasePending = true;
    // A polite close ends when the device confirms it, on a later turn of the event loop.
    closeWatch = connect(connection.get(), &ComConnection::connectionStateChanged, this,
                         [this](ConnectionState newState, ErrorMessage) {
                             if (newState == Closed)
                                 releaseLink();
                         });
    closeGrace.start(CloseGracePeriod);
    // A link that was never opened, or that closes at once, reports nothing more.
    QMetaObject::invokeMethod(this, [this] {
        if (connection->getConnectionState() == Closed)
            releaseLink();
    }, Qt::QueuedConnection);
}

void ExportWizard::releaseLink()
{
    if (!releasePending)
        return;
    releasePending = false;
    disconnect(closeWatch);
    closeGrace.stop();
    linkWasReleased = true;
    emit linkReleased();
    endWhenDone();
}

void ExportWizard::endWhenDone()
{
    if (!linkWasReleased || notification->isPending())
        return;
    // The program ends with the wizard: a message that the logbook missed the ride stays until read.
    auto *logbookWarning = findChild<QMessageBox *>(QStringLiteral("logbookWarning"));
    if (logbookWarning && logbookWarning->isVisible()) {
        connect(logbookWarning, &QDialog::finished, this, &ExportWizard::endWhenDone, Qt::UniqueConnection);
        return;
    }
    emit allDone();
}
