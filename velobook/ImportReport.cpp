// SPDX-License-Identifier: GPL-3.0-or-later
#include "velobook/ImportReport.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString named(const QString &path)
{
    return QFileInfo(path).fileName();
}

} // namespace

void ImportReport::imported(const QString &path, const ImportOutcome &outcome)
{
    m_summary << tr("%1: %2 imported, %3 already in the logbook, %4 refused.")
                     .arg(named(path))
                     .arg(outcome.imported)
                     .arg(outcome.alreadyThere)
                     .arg(outcome.refused.size());
    for (const RefusedLine &line : outcome.refused)
        m_refused << tr("%1, line %2: %3").arg(named(path)).arg(line.line).arg(line.reason);
    m_trouble = m_trouble || !outcome.refused.isEmpty();
    m_tookRides = m_tookRides || outcome.imported > 0;
}

void ImportReport::unreadable(const QString &path, const QString &reason)
{
    m_summary << tr("%1 cannot be read (%2): nothing of it was imported. Make sure the file is there and that you may "
                    "read it.")
                     .arg(QDir::toNativeSeparators(path), reason);
    m_trouble = true;
}

void ImportReport::failed(const QString &path, const LogbookError &error)
{
    m_summary << tr("%1: nothing of it was imported. %2").arg(named(path), error.message());
    m_trouble = true;
}

QString ImportReport::refusals() const
{
    if (m_refused.isEmpty())
        return QString();
    QString text = tr("Refused:") + QLatin1Char('\n') + m_refused.mid(0, ShownRefusals).join(QLatin1Char('\n'));
    if (m_refused.size() > ShownRefusals)
        text += QLatin1Char('\n') + tr("and %1 more, listed in the details.").arg(m_refused.size() - ShownRefusals);
    return text;
}

QString ImportReport::details() const
{
    return m_refused.size() > ShownRefusals ? m_refused.join(QLatin1Char('\n')) : QString();
}
