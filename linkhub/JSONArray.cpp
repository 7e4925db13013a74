// SPDX-License-Identifier: GPL-3.0-or-later
#include "linkhub/JSONArray.h"

#include <QDebug>
#include <QLocale>
#include <QStringList>

#include <algorithm>
#include <cmath>

/// Reads one text; knows how deep it is and whether the text has ended.
class JSONArray::Reader
{
public:
    explicit Reader(const QString &text) : text(text), length(int(text.size())) {}

    /// Reads the object whose opening brace is at or after i; the index of its closing brace,
    /// or -1 when the text ended first.
    int readObject(int i, QMap<QString, QVariant> &into, int depth);
    QVariant readList(int &i, int depth);
    QVariant readValue(int &i) const;

private:
    int readString(int i, QString &into) const;
    static QVariant convertBare(const QString &token);

    const QString &text;
    const int length;
};

namespace {

bool endsBareValue(QChar c)
{
    return c == u'"' || c == u',' || c == u';' || c == u'}' || c == u']';
}

QChar escaped(QChar c)
{
    switch (c.unicode()) {
    case u'b': return u'\b';
    case u'f': return u'\f';
    case u'n': return u'\n';
    case u'r': return u'\r';
    case u't': return u'\t';
    default: return c; // " \ and /
    }
}

bool isHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

QString quoted(const QString &string)
{
    QString text;
    text.reserve(string.size() + 2);
    text.append(u'"');
    for (QChar c : string) {
        switch (c.unicode()) {
        case u'"': text.append(u"\\\""); break;
        case u'\\': text.append(u"\\\\"); break;
        case u'\b': text.append(u"\\b"); break;
        case u'\f': text.append(u"\\f"); break;
        case u'\n': text.append(u"\\n"); break;
        case u'\r': text.append(u"\\r"); break;
        case u'\t': text.append(u"\\t"); break;
        default:
            if (c.unicode() < 0x20)
                text.append(QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0')));
            else
                text.append(c);
        }
    }
    text.append(u'"');
    return text;
}

QString illegalValue()
{
    qWarning() << "illegal json value";
    return QStringLiteral("null");
}

} // namespace

int JSONArray::Reader::readObject(int i, QMap<QString, QVariant> &into, int depth)
{
    QString key;
    while (i < length) {
        const QChar c = text.at(i);
        if (c == u':') {
            i = nextClean(text, i + 1);
            if (i >= length)
                return -1;
            const QChar opening = text.at(i);
            if ((opening == u'{' || opening == u'[') && depth >= MaxDepth)
                return -1;
            if (opening == u'{') {
                QMap<QString, QVariant> nested;
                const int end = readObject(i, nested, depth + 1);
                into.insert(key, nested);
                if (end < 0)
                    return -1;
                i = end;
            } else if (opening == u'[') {
                into.insert(key, readList(i, depth + 1));
                if (i >= length)
                    return -1;
            } else {
                into.insert(key, readValue(i));
            }
        } else if (c == u'}') {
            return i;
        } else if (c == u'"') {
            key.clear();
            i = readString(i + 1, key);
        }
        ++i;
    }
    return -1;
}

QVariant JSONArray::Reader::readList(int &i, int depth)
{
    QList<QVariant> list;
    for (++i; i < length; ++i) {
        i = nextClean(text, i);
        if (i >= length)
            break;
        const QChar c = text.at(i);
        if (c == u']')
            return list;
        // A stray closing brace is skipped: read as an empty value it would never be passed.
        if (c == u',' || c == u';' || c == u'}')
            continue;
        if ((c == u'[' || c == u'{') && depth >= MaxDepth)
            break;
        if (c == u'[') {
            list.append(readList(i, depth + 1));
        } else if (c == u'{') {
            QMap<QString, QVariant> nested;
            const int end = readObject(i, nested, depth + 1);
            list.append(nested);
            if (end < 0)
                break;
            i = end;
        } else {
            list.append(readValue(i));
        }
    }
    i = length;
    return list;
}

QVariant JSONArray::Reader::readValue(int &i) const
{
    if (i < length && text.at(i) == u'"') {
        QString string(QStringLiteral("")); // empty, not null: null is what "null" reads as
        i = std::min(readString(i + 1, string), length - 1);
        return string;
    }
    int end = i;
    while (end < length && !endsBareValue(text.at(end)))
        ++end;
    const QString token = text.mid(i, end - i);
    if (end < length && text.at(end) == u'"') {
        i = end;
        return token;
    }
    i = end - 1; // the caller's step lands on the terminator
    return convertBare(token.trimmed());
}

int JSONArray::Reader::readString(int i, QString &into) const
{
    while (i < length) {
        const QChar c = text.at(i);
        if (c == u'"')
            return i;
        if (c != u'\\' || i + 1 >= length) {
            into.append(c);
            ++i;
            continue;
        }
        const QChar e = text.at(i + 1);
        if (e == u'u' && i + 5 < length && std::all_of(text.begin() + i + 2, text.begin() + i + 6, isHexDigit)) {
            into.append(QChar(char16_t(text.mid(i + 2, 4).toUShort(nullptr, 16))));
            i += 6;
        } else if (QStringLiteral("\"\\/bfnrt").contains(e)) {
            into.append(escaped(e));
            i += 2;
        } else {
            // Not an escape of ours: a backslash written by a writer that knew none stays as it was.
            into.append(c);
            into.append(e);
            i += 2;
        }
    }
    return length;
}

QVariant JSONArray::Reader::convertBare(const QString &token)
{
    bool ok = false;
    const int integer = token.toInt(&ok, 10);
    if (ok)
        return integer;
    const double real = token.toDouble(&ok);
    if (ok)
        return real;
    if (token == QLatin1String("true"))
        return true;
    if (token == QLatin1String("false"))
        return false;
    if (token == QLatin1String("null"))
        return QString();
    return token;
}

int JSONArray::parse(const QString &text)
{
    Reader reader(text);
    const int end = reader.readObject(0, map, 0);
    return std::max(end, 0);
}

QVariant JSONArray::getValue(const QString &text, int &index)
{
    index = std::clamp(index, 0, int(text.size()));
    return Reader(text).readValue(index);
}

QVariant JSONArray::getList(const QString &text, int &index)
{
    index = std::clamp(index, 0, int(text.size()));
    return Reader(text).readList(index, 1);
}

int JSONArray::nextClean(const QString &text, int index)
{
    index = std::max(index, 0);
    while (index < text.size() && text.at(index).isSpace())
        ++index;
    return std::min(index, int(text.size()));
}

QString JSONArray::serialize(const QMap<QString, QVariant> &map)
{
    QString text(u'{');
    for (auto entry = map.constBegin(); entry != map.constEnd(); ++entry)
        text += quoted(entry.key()) + u':' + serializeValue(entry.value()) + u',';
    if (text.size() > 1)
        text.chop(1);
    return text + u'}';
}

QString JSONArray::serializeList(const QList<QVariant> &list)
{
    QString text(u'[');
    for (const QVariant &value : list)
        text += serializeValue(value) + u',';
    if (text.size() > 1)
        text.chop(1);
    return text + u']';
}

QString JSONArray::serializeValue(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::UnknownType:
    case QMetaType::Nullptr:
        return QStringLiteral("null");
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QMetaType::Int:
        return QString::number(value.toInt());
    case QMetaType::Double: {
        // JSON has no text for infinities and NaN.
        const double real = value.toDouble();
        return std::isfinite(real) ? QString::number(real, 'g', QLocale::FloatingPointShortest) : illegalValue();
    }
    case QMetaType::QString: {
        const QString string = value.toString();
        return string.isNull() ? QStringLiteral("null") : quoted(string);
    }
    case QMetaType::QVariantMap:
        return serialize(value.toMap());
    case QMetaType::QVariantList:
    case QMetaType::QStringList:
        return serializeList(value.toList());
    default:
        return illegalValue();
    }
}
