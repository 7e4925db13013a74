// SPDX-License-Identifier: GPL-3.0-or-later
#include "velodesk/DeviceAcceptance.h"

#include "velodesk/ConnectionStatus.h"

#include "linkhub/ComConnection.h"
#include "linkhub/ModelData.h"
#include "linkhub/SupportedModels.h"

#include <QLabel>
#include <QMessageBox>
#include <QPixmap>

namespace {
const QSize pictureSize(200, 100);

// The box keeps its title and text; the details go below them.
void tell(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text, const QString &details)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.setInformativeText(details);
    box.exec();
}

QString hexId(int id)
{
    return QStringLiteral("0x%1").arg(id, 2, 16, QLatin1Char('0'));
}
}

DeviceAcceptance::DeviceAcceptance(ComConnection *connection, QWidget *boxParent)
    : connection(connection), boxParent(boxParent)
{
}

void DeviceAcceptance::noteState(ConnectionState state, ErrorMessage error)
{
    // A report this program does not know changes nothing, here as on the status line.
    const bool known = !ConnectionStatus::text(state, error).isEmpty();
    if (known && !(error == NoError && state == Connected))
        firmwareAwaited = false;
}

DeviceAcceptance::Verdict DeviceAcceptance::checkModel(const ModelData &data)
{
    firmwareAwaited = false;
    if (!SupportedModels::isSupported(data.deviceModel->id)) {
        connection->close();
        tell(boxParent, QMessageBox::Critical, tr("Device unsupported"), tr("This device is not supported!"),
             tr("Found: %1 (model id %2). Supported: %3.")
                 .arg(data.deviceModel->name, hexId(data.deviceModel->id),
                      SupportedModels::names(connection->getCatalogue()).join(QStringLiteral(", "))));
        return Verdict::Refused;
    }
    firmwareAwaited = data.deviceModel->has(DeviceModel::FirmwareCheck);
    return Verdict::Accepted;
}

DeviceAcceptance::Verdict DeviceAcceptance::checkFirmware(const ModelData &data)
{
    if (!firmwareAwaited)
        return Verdict::NotAwaited;
    firmwareAwaited = false;
    if (!SupportedModels::isFirmwareAccepted(data.deviceModel->id, data.firmwareVersion)) {
        tell(boxParent, QMessageBox::Warning, tr("Firmware unsupported"),
             tr("The device firmware is not supported by this Application!\n"
                "Please update your device with the Tunedock tool!"),
             tr("Found firmware version %1; the %2 needs version %3 or later.")
                 .arg(data.firmwareVersion)
                 .arg(data.deviceModel->name)
                 .arg(SupportedModels::minimumFirmware().value(data.deviceModel->id)));
        connection->close();
        return Verdict::Refused;
    }
    // A link already on its way down must not start reading; its report follows.
    if (connection->getConnectionState() == Connected)
        connection->approveFw();
    return Verdict::Accepted;
}

void DeviceAcceptance::showModel(const DeviceModel &model, QLabel *name, QLabel *picture)
{
    name->setText(model.name);
    const QPixmap image(model.imagePath);
    if (image.isNull()) {
        picture->hide();
        return;
    }
    picture->setPixmap(image.scaled(pictureSize, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    picture->show();
}
