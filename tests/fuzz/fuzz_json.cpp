// SPDX-License-Identifier: GPL-3.0-or-later
// Any text through the JSON reader. What the writer makes of the values read must be valid JSON
// (Qt's own reader takes it), and after one more round the text must not change any more.
#include "FuzzApplication.h"

#include "linkhub/JSONArray.h"

#include <QJsonDocument>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

QString roundTrip(const QString &text)
{
    JSONArray json;
    json.parse(text);
    return JSONArray::serialize(json.getMap());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    ensureFuzzApplication();
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));

    int index = 0;
    JSONArray::getList(text, index);
    index = 0;
    JSONArray::getValue(text, index);

    const QString once = roundTrip(text);
    QJsonParseError error;
    QJsonDocument::fromJson(once.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError)
        std::abort();
    const QString twice = roundTrip(once);
    if (roundTrip(twice) != twice)
        std::abort();
    return 0;
}
