// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "logbook/DisplayUnits.h"
#include "logbook/RideTotals.h"

#include <QWidget>

class Logbook;
class QChartView;
class QComboBox;
class QLabel;
class QTabWidget;

/// The rides' totals by week, month or year, per bike or of both: a chart of the recent periods,
/// the figures of the chosen one, and the year so far against the same span of the year before.
class TotalsTab : public QWidget
{
    Q_OBJECT

public:
    /// How many weeks or months the chart shows, ending with the newest that has rides; years are all shown.
    static constexpr int RecentPeriods = 12;

    /// Empty until the first reload(), which the window leaves until the tab is shown.
    explicit TotalsTab(Logbook &logbook, QWidget *parent = nullptr);

public slots:
    /// Reads the logbook and the unit choice again.
    void reload();

private:
    QWidget *makeChoices();
    QWidget *makeFigures();
    QWidget *makeYearSoFar();
    QChartView *makeChartView(const QString &objectName, const QString &accessibleName);

    RideTotals::Period period() const;
    int bike() const;
    void showChart(QChartView *view, const QString &title, const QString &unit, const QList<qreal> &values);
    void choosePeriod(int index);
    void showYearSoFar();
    void showYearColumn(const QList<QLabel *> &labels, const PeriodTotal &total);

    QString axisLabel(const QString &period) const;
    QString periodTitle(const QString &period) const;
    QString distanceText(qint64 millimetres) const;
    QString rideTimeText(qint64 seconds) const;

    Logbook &m_logbook;
    DisplayUnits m_units;
    QList<PeriodTotal> m_shown; ///< the chart's periods, oldest first

    QComboBox *m_periodKind = nullptr;
    QComboBox *m_bike = nullptr;
    QComboBox *m_period = nullptr;
    QTabWidget *m_charts = nullptr;
    QChartView *m_distanceView = nullptr;
    QChartView *m_rideTimeView = nullptr;
    QList<QLabel *> m_figures; ///< rides, distance, ride time, ascent, kcal
    QLabel *m_yearSpan = nullptr;
    QLabel *m_thisYearTitle = nullptr;
    QLabel *m_lastYearTitle = nullptr;
    QList<QLabel *> m_thisYear; ///< distance, ride time, rides
    QList<QLabel *> m_lastYear;
};
