// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/DeviceCatalogue.h"
#include "linkhub/SupportedModels.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <optional>

/// Finds a model of its own catalogue by the name or id a user typed: "Lumo 60", "lumo60", "0x51" or "81".
class ModelLookup
{
    Q_DECLARE_TR_FUNCTIONS(ModelLookup)

public:
    ModelLookup() : m_catalogue(DeviceCatalogue::build()) {}
    ~ModelLookup() { DeviceCatalogue::release(m_catalogue); }

    ModelLookup(const ModelLookup &) = delete;
    ModelLookup &operator=(const ModelLookup &) = delete;

    /// The id of the model named, or nothing when the catalogue holds no such model.
    std::optional<quint8> find(const QString &nameOrId) const;
    /// Names of every catalogue model, sorted.
    QStringList allNames() const;
    /// Names of the models whose rides can be exported, sorted.
    QStringList supportedNames() const { return SupportedModels::names(m_catalogue); }
    /// The line that tells a user which names are understood.
    QString unknownModelMessage(const QString &nameOrId) const;

private:
    DeviceCatalogue::Map m_catalogue; // owned rows
};
