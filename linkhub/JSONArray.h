// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/linkhub_global.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QVariant>

/// A small JSON codec over Qt variants: objects are maps from QString to QVariant, arrays are
/// lists, scalars are int, double, bool, QString, and a null string for null.
///
/// The writer emits compact, valid JSON (keys in ascending order, strings escaped). The reader is
/// lenient and driven by positions rather than a validating parser: it skips what it does not
/// expect, yields what it read when the text ends early, reads the escapes the writer writes, and
/// never reads past the end of the text or nests deeper than MaxDepth.
class LINKHUB_EXPORT JSONArray
{
public:
    /// Objects and arrays nested deeper than this end the reading as if the text ended there.
    static constexpr int MaxDepth = 64;

    /// Reads one object from the text into this object's map (an existing key is replaced);
    /// returns the index of its closing brace, or 0 when the text ended before it.
    int parse(const QString &text);
    /// The map read so far.
    const QMap<QString, QVariant> &getMap() const { return map; }

    /// Reads one scalar starting at index; leaves index on the value's last character.
    static QVariant getValue(const QString &text, int &index);
    /// Reads one array whose opening bracket is at index; leaves index on its closing bracket.
    static QVariant getList(const QString &text, int &index);
    /// First index at or after index whose character is no white space (at most the text length).
    static int nextClean(const QString &text, int index);

    static QString serialize(const QMap<QString, QVariant> &map);
    static QString serializeList(const QList<QVariant> &list);
    /// Text of one value; types JSON cannot carry become null with an "illegal json value" warning.
    static QString serializeValue(const QVariant &value);

private:
    class Reader;

    QMap<QString, QVariant> map;
};
