// SPDX-License-Identifier: GPL-3.0-or-later
#include "linkhub/JSONArray.h"

#include <QJsonDocument>
#include <QRandomGenerator>
#include <QTest>

#include <cmath>

namespace {

const QString Sample = QStringLiteral("{\"a\": 1, \"b\": \"x\", \"c\": [1, 2.5, true], \"d\": {\"e\": null}}");
const QString SampleCompact = QStringLiteral("{\"a\":1,\"b\":\"x\",\"c\":[1,2.5,true],\"d\":{\"e\":null}}");

QVariantMap read(const QString &text)
{
    JSONArray json;
    json.parse(text);
    return json.getMap();
}

/// Equal as JSON values: numbers by value (a reader may give int, qlonglong or double), null
/// strings and nulls alike, containers element by element.
bool sameJson(const QVariant &a, const QVariant &b)
{
    const auto isNull = [](const QVariant &v) {
        return !v.isValid() || v.isNull() || (v.typeId() == QMetaType::QString && v.toString().isNull());
    };
    if (isNull(a) || isNull(b))
        return isNull(a) && isNull(b);
    if (a.typeId() == QMetaType::QVariantMap || b.typeId() == QMetaType::QVariantMap) {
        const QVariantMap x = a.toMap(), y = b.toMap();
        if (x.keys() != y.keys())
            return false;
        for (auto it = x.cbegin(); it != x.cend(); ++it) {
            if (!sameJson(it.value(), y.value(it.key())))
                return false;
        }
        return true;
    }
    if (a.typeId() == QMetaType::QVariantList || b.typeId() == QMetaType::QVariantList) {
        const QVariantList x = a.toList(), y = b.toList();
        if (x.size() != y.size())
            return false;
        for (int i = 0; i < x.size(); ++i) {
            if (!sameJson(x.at(i), y.at(i)))
                return false;
        }
        return true;
    }
    const auto isNumber = [](const QVariant &v) {
        return v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Double;
    };
    if (isNumber(a) && isNumber(b))
        return a.toDouble() == b.toDouble();
    return a.typeId() == b.typeId() && a == b;
}

QString randomString(QRandomGenerator &random)
{
    static const QString alphabet = QStringLiteral("az09 \"\\/{}[],;:\n\t\r\b\f\x01\x1f\u00e9\u20ac\U0001F6B2");
    QString text;
    const int size = random.bounded(8);
    for (int i = 0; i < size; ++i) {
        const int at = random.bounded(int(alphabet.size()));
        text += alphabet.at(at);
        if (alphabet.at(at).isHighSurrogate())
            text += alphabet.at(at + 1);
        else if (alphabet.at(at).isLowSurrogate())
            text.chop(1);
    }
    return text;
}

QVariant randomValue(QRandomGenerator &random, int depth)
{
    switch (random.bounded(depth > 3 ? 5 : 7)) {
    case 0: return random.bounded(2) == 1;
    case 1: return int(random.generate());
    case 2: return std::ldexp(random.generateDouble() - 0.5, random.bounded(-60, 60));
    case 3: return randomString(random);
    case 4: return QVariant(QString());
    case 5: {
        QVariantList list;
        for (int n = random.bounded(4); n > 0; --n)
            list.append(randomValue(random, depth + 1));
        return list;
    }
    default: {
        QVariantMap map;
        for (int n = random.bounded(4); n > 0; --n)
            map.insert(randomString(random), randomValue(random, depth + 1));
        return map;
    }
    }
}

QVariantMap randomMap(QRandomGenerator &random)
{
    QVariantMap map;
    for (int n = random.bounded(1, 6); n > 0; --n)
        map.insert(randomString(random), randomValue(random, 1));
    return map;
}

} // namespace

class tst_JSONArray : public QObject
{
    Q_OBJECT

private slots:
    void readsTheValueMapping()
    {
        JSONArray json;
        QCOMPARE(json.parse(Sample), int(Sample.size()) - 1);
        const QVariantMap map = json.getMap();
        QCOMPARE(map.value("a").typeId(), int(QMetaType::Int));
        QCOMPARE(map.value("a").toInt(), 1);
        QCOMPARE(map.value("b"), QVariant(QStringLiteral("x")));
        QCOMPARE(map.value("c").toList(), (QVariantList{1, 2.5, true}));
        const QVariant e = map.value("d").toMap().value("e");
        QCOMPARE(e.typeId(), int(QMetaType::QString));
        QVERIFY(e.toString().isNull());
        QCOMPARE(JSONArray::serialize(map), SampleCompact);
    }

    void scalars_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QVariant>("value");
        QTest::newRow("quoted 123 stays text") << "{\"v\":\"123\"}" << QVariant(QStringLiteral("123"));
        QTest::newRow("bare 123 is a number") << "{\"v\":123}" << QVariant(123);
        QTest::newRow("bare 1e3 is a double") << "{\"v\":1e3}" << QVariant(1000.0);
        QTest::newRow("beyond int is a double") << "{\"v\":3000000000}" << QVariant(3e9);
        QTest::newRow("false") << "{\"v\":false}" << QVariant(false);
        QTest::newRow("bare word") << "{\"v\":abc}" << QVariant(QStringLiteral("abc"));
        QTest::newRow("bare value ends at ;") << "{\"v\":ab;c}" << QVariant(QStringLiteral("ab"));
        QTest::newRow("quoted value keeps , ; } ]") << "{\"v\":\"a,b;c}d]\"}" << QVariant(QStringLiteral("a,b;c}d]"));
        QTest::newRow("escapes") << "{\"v\":\"q\\\"b\\\\s\\/\\b\\f\\n\\r\\t\\u00e9\\ud83d\\udeb2\"}"
                                 << QVariant(QStringLiteral("q\"b\\s/\b\f\n\r\t\u00e9\U0001F6B2"));
        QTest::newRow("unknown escape kept") << "{\"v\":\"C:\\dir\"}" << QVariant(QStringLiteral("C:\\dir"));
        QTest::newRow("later key replaces") << "{\"v\":1,\"v\":2}" << QVariant(2);
    }

    void scalars()
    {
        QFETCH(QString, text);
        QFETCH(QVariant, value);
        const QVariant read = ::read(text).value("v");
        QCOMPARE(read.typeId(), value.typeId());
        QCOMPARE(read, value);
    }

    void writes_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("illegal");
        QTest::newRow("empty map") << QVariant(QVariantMap()) << "{}" << false;
        QTest::newRow("empty list") << QVariant(QVariantList()) << "[]" << false;
        QTest::newRow("keys ascending") << QVariant(QVariantMap{{"b", 1}, {"B", 2}, {"a", 3}}) << "{\"B\":2,\"a\":3,\"b\":1}"
                                        << false;
        QTest::newRow("string list") << QVariant(QStringList{"x", "y"}) << "[\"x\",\"y\"]" << false;
        QTest::newRow("escapes") << QVariant(QStringLiteral("\"\\\n\x01/")) << "\"\\\"\\\\\\n\\u0001/\"" << false;
        QTest::newRow("null variant") << QVariant() << "null" << false;
        QTest::newRow("double") << QVariant(0.1) << "0.1" << false;
        QTest::newRow("unsigned") << QVariant(5u) << "null" << true;
        QTest::newRow("64-bit") << QVariant(qlonglong(5)) << "null" << true;
        QTest::newRow("not a number") << QVariant(std::nan("")) << "null" << true;
        QTest::newRow("in a list") << QVariant(QVariantList{QVariant(QChar(u'x')), 1}) << "[null,1]" << true;
    }

    void writes()
    {
        QFETCH(QVariant, value);
        QFETCH(bool, illegal);
        if (illegal)
            QTest::ignoreMessage(QtWarningMsg, "illegal json value");
        QTEST(JSONArray::serializeValue(value), "text");
    }

    void surviveAnyText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("end");
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("lone quote") << "\"" << 0;
        QTest::newRow("ends after colon") << "{\"a\":" << 0;
        QTest::newRow("ends in a string") << "{\"a\":\"x\\" << 0;
        QTest::newRow("ends in a list") << "{\"a\":[1,{\"b\":[" << 0;
        QTest::newRow("stray brace in a list") << "{\"a\":[1}2]}" << 10;
        QTest::newRow("deep objects") << QString("{\"a\":").repeated(100000) << 0;
        QTest::newRow("deep lists") << "{\"a\":" + QString("[").repeated(100000) << 0;
    }

    void surviveAnyText()
    {
        QFETCH(QString, text);
        JSONArray json;
        QTEST(json.parse(text), "end");
        int index = 0;
        JSONArray::getList(text, index);
        QVERIFY(index <= text.size());
    }

    void deepNestingStopsAtTheLimit()
    {
        const QString deep = QString("{\"a\":").repeated(JSONArray::MaxDepth + 5) + "1";
        QVariantMap map = read(deep);
        int depth = 0;
        while (map.contains("a")) {
            map = map.value("a").toMap();
            ++depth;
        }
        QCOMPARE(depth, JSONArray::MaxDepth);
    }

    void differentialAgainstQJsonDocument()
    {
        QRandomGenerator random(20261208);
        for (int round = 0; round < 500; ++round) {
            const QVariantMap map = randomMap(random);
            const QString written = JSONArray::serialize(map);
            QJsonParseError error;
            const QJsonDocument document = QJsonDocument::fromJson(written.toUtf8(), &error);
            QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(written));
            QVERIFY2(sameJson(document.toVariant(), map), qPrintable(written));
            QVERIFY2(sameJson(read(written), map), qPrintable(written));
            const QString theirs = QString::fromUtf8(document.toJson(QJsonDocument::Indented));
            QVERIFY2(sameJson(read(theirs), map), qPrintable(theirs));
        }
    }
};

QTEST_GUILESS_MAIN(tst_JSONArray)
#include "tst_jsonarray.moc"
