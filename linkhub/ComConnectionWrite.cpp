// SPDX-License-Identifier: GPL-3.0-or-later
// Writing blocks of the record back to the device, and adopting the record written.
#include "linkhub/ComConnection.h"

#include "linkhub/private/AnswerDispatcher.h"
#include "linkhub/private/ThreadCallQueue.h"
#include "linkhub/private/WritePayload.h"

#include <QDebug>
#include <QThread>

void ComConnection::sendModelData(ModelData *data, ModelDataUpdateBits bits)
{
    if (!data) {
        qCritical() << "No record to write";
        return;
    }
    if (QThread::currentThread() == thread()) {
        writeAndAdopt(new ModelData(*data), bits);
        return;
    }
    // The record, the model and the dispatcher that writes into the record live on the
    // user-interface thread: the write is built and the copy adopted there, between two answers.
    // The copy is taken now, so the caller may change or free `data` at once.
    auto carried = std::make_shared<const ModelData>(*data);
    uiCalls->post([this, carried, bits] { writeAndAdopt(new ModelData(*carried), bits); });
}

void ComConnection::writeAndAdopt(ModelData *copy, int bits)
{
    const DeviceModel *model = dispatcher->model();
    std::optional<WritePayload::Packet> packet;
    if (!model)
        qCritical() << "No device model identified: nothing written";
    else if (!(packet = WritePayload::forBlock(*model, dispatcher->record(), *copy, bits)))
        qCritical() << "Illegal ModelDataUpdateBits: " << QString::number(bits, 2);
    if (packet)
        sendCommand(packet->command, &packet->payload);
    dispatcher->adopt(copy, packet ? bits : int(IdentityUpdate));
}

QByteArray ComConnection::writeBikeSetting(ModelData *data, Bike bike) const
{
    const DeviceModel *identified = dispatcher->model();
    const DeviceModel *model = identified ? identified : (data ? data->deviceModel : nullptr);
    if (!model || !data)
        return QByteArray();
    return WritePayload::bikeSettings(*model, dispatcher->record(), *data, bike);
}
