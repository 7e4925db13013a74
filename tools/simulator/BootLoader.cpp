// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/simulator/BootLoader.h"

void BootLoader::enter()
{
    active = true;
    received.clear();
    application = QByteArray(model->fwBlockCount * model->fwBlockSize, '\0');
}

int BootLoader::store(const QByteArray &payload)
{
    if (!active || payload.size() != 1 + model->fwBlockSize)
        return -1;
    const int index = quint8(payload.at(0));
    if (index >= model->fwBlockCount)
        return -1;
    application.replace(index * model->fwBlockSize, model->fwBlockSize, payload.mid(1));
    received.insert(index);
    return index;
}
