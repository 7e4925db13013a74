// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/velotool/ModelLookup.h"

#include "linkhub/SupportedModels.h"

namespace {

QString squeezed(const QString &text)
{
    QString result;
    for (QChar c : text) {
        if (!c.isSpace())
            result.append(c.toLower());
    }
    return result;
}

} // namespace

std::optional<quint8> ModelLookup::find(const QString &nameOrId) const
{
    const QString wanted = squeezed(nameOrId);
    if (wanted.isEmpty())
        return std::nullopt;
    for (const DeviceModel *model : m_catalogue) {
        if (squeezed(model->name) == wanted)
            return model->id;
    }
    bool isNumber = false;
    const uint id = wanted.toUInt(&isNumber, 0);
    if (isNumber && id <= 0xFF && m_catalogue.contains(static_cast<unsigned char>(id)))
        return static_cast<quint8>(id);
    return std::nullopt;
}

QStringList ModelLookup::allNames() const
{
    return DeviceCatalogue::names(m_catalogue);
}

QString ModelLookup::unknownModelMessage(const QString &nameOrId) const
{
    return tr("Unknown model \"%1\": name one of %2, or give its model id (such as 0x51).")
        .arg(nameOrId, allNames().join(QStringLiteral(", ")));
}
