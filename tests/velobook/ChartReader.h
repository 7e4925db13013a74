// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QWidget>

/// What a tab's charts show, read back from the chart objects themselves.
namespace ChartReader {

/// The first series of the chart view named `name` inside `tab`, as `Series`; null when there is none.
template<typename Series>
Series *series(QWidget *tab, const QString &name)
{
    auto *view = tab->findChild<QChartView *>(name);
    if (!view || view->chart()->series().isEmpty())
        return nullptr;
    return qobject_cast<Series *>(view->chart()->series().constFirst());
}

inline QBarSet *barSet(QWidget *tab, const QString &name)
{
    QBarSeries *bars = series<QBarSeries>(tab, name);
    return bars && bars->count() > 0 ? bars->barSets().constFirst() : nullptr;
}

} // namespace ChartReader
