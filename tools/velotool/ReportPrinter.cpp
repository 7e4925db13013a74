// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/velotool/ReportPrinter.h"

#include "tools/velotool/RideReport.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <algorithm>

namespace {

QJsonObject toObject(const QList<ReportEntry> &entries)
{
    QJsonObject object;
    for (const ReportEntry &entry : entries)
        object.insert(entry.key, entry.json);
    return object;
}

} // namespace

QString ReportPrinter::toText(const RideReport &report)
{
    qsizetype width = 0;
    for (const ReportGroup &group : report.groups) {
        for (const ReportEntry &entry : group.entries)
            width = std::max(width, entry.label.size());
    }

    QStringList lines;
    for (const ReportGroup &group : report.groups) {
        if (!lines.isEmpty())
            lines << QString();
        lines << group.title;
        for (const ReportEntry &entry : group.entries) {
            QString line = QStringLiteral("  ") + (entry.label + QLatin1Char(':')).leftJustified(width + 2) + entry.text;
            if (!entry.unit.isEmpty())
                line += QLatin1Char(' ') + entry.unit;
            lines << line;
        }
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString ReportPrinter::toJson(const RideReport &report)
{
    QJsonObject root;
    root.insert(QStringLiteral("units"), toObject(report.units));
    for (const ReportGroup &group : report.groups)
        root.insert(group.key, toObject(group.entries));
    return QString::fromUtf8(QJsonDocument(root).toJson(QJsonDocument::Indented));
}
