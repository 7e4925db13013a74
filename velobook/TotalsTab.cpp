// SPDX-License-Identifier: GPL-3.0-or-later
#include "velobook/TotalsTab.h"

#include "velobook/UnitChoice.h"

#include "logbook/Logbook.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QValueAxis>

namespace {

constexpr double SecondsPerHour = 3600.0;

QLabel *figureLabel(const QString &accessibleName)
{
    auto *label = new QLabel;
    label->setAccessibleName(accessibleName);
    label->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    return label;
}

QComboBox *choiceBox(const QString &objectName, const QString &accessibleName, const QStringList &items)
{
    auto *box = new QComboBox;
    box->setObjectName(objectName);
    box->setAccessibleName(accessibleName);
    box->addItems(items);
    return box;
}

} // namespace

TotalsTab::TotalsTab(Logbook &logbook, QWidget *parent)
    : QWidget(parent), m_logbook(logbook), m_units(UnitChoice::current())
{
    m_charts = new QTabWidget;
    m_charts->setAccessibleName(tr("Charts"));
    m_distanceView = makeChartView(QStringLiteral("distanceChart"), tr("Distance per period"));
    m_rideTimeView = makeChartView(QStringLiteral("rideTimeChart"), tr("Ride time per period"));
    m_charts->addTab(m_distanceView, tr("&Distance"));
    m_charts->addTab(m_rideTimeView, tr("Ride &time"));

    auto *side = new QVBoxLayout;
    side->addWidget(makeFigures());
    side->addWidget(makeYearSoFar());
    side->addStretch();

    auto *body = new QHBoxLayout;
    body->addWidget(m_charts, 1);
    body->addLayout(side);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(makeChoices());
    layout->addLayout(body, 1);

    connect(m_periodKind, &QComboBox::currentIndexChanged, this, &TotalsTab::reload);
    connect(m_bike, &QComboBox::currentIndexChanged, this, &TotalsTab::reload);
    connect(m_period, &QComboBox::currentIndexChanged, this, &TotalsTab::choosePeriod);
}

QWidget *TotalsTab::makeChoices()
{
    m_periodKind = choiceBox(QStringLiteral("periodKind"), tr("Totals by"), {});
    m_periodKind->addItem(tr("Week"), int(RideTotals::Period::Week));
    m_periodKind->addItem(tr("Month"), int(RideTotals::Period::Month));
    m_periodKind->addItem(tr("Year"), int(RideTotals::Period::Year));
    m_periodKind->setCurrentIndex(m_periodKind->findData(int(RideTotals::Period::Month)));
    m_bike = choiceBox(QStringLiteral("bike"), tr("Bike"), {tr("Both bikes"), tr("Bike 1"), tr("Bike 2")});
    m_period = choiceBox(QStringLiteral("period"), tr("Chosen period"), {});
    m_period->setSizeAdjustPolicy(QComboBox::AdjustToContents);

    auto *choices = new QWidget;
    auto *layout = new QHBoxLayout(choices);
    layout->setContentsMargins(0, 0, 0, 0);
    const QList<QPair<QString, QComboBox *>> rows{
        {tr("Totals &by:"), m_periodKind}, {tr("B&ike:"), m_bike}, {tr("&Period:"), m_period}};
    for (const auto &[text, box] : rows) {
        auto *label = new QLabel(text);
        label->setBuddy(box);
        layout->addWidget(label);
        layout->addWidget(box);
    }
    layout->addStretch();
    return choices;
}

QWidget *TotalsTab::makeFigures()
{
    auto *box = new QGroupBox(tr("The chosen period"));
    auto *form = new QFormLayout(box);
    for (const QString &name : {tr("Rides"), tr("Distance"), tr("Ride time"), tr("Ascent"), tr("Energy")}) {
        m_figures << figureLabel(name);
        form->addRow(tr("%1:").arg(name), m_figures.last());
    }
    return box;
}

QWidget *TotalsTab::makeYearSoFar()
{
    auto *box = new QGroupBox(tr("The year so far against the year before"));
    auto *grid = new QGridLayout(box);
    m_yearSpan = figureLabel(tr("Span of the year so far"));
    grid->addWidget(m_yearSpan, 0, 0, 1, 3);
    const QStringList names{tr("Distance"), tr("Ride time"), tr("Rides")};
    for (int row = 0; row < names.size(); ++row) {
        m_thisYear << figureLabel(tr("%1 this year").arg(names[row]));
        m_lastYear << figureLabel(tr("%1 last year").arg(names[row]));
        grid->addWidget(new QLabel(tr("%1:").arg(names[row])), row + 2, 0);
        grid->addWidget(m_thisYear.last(), row + 2, 1, Qt::AlignRight);
        grid->addWidget(m_lastYear.last(), row + 2, 2, Qt::AlignRight);
    }
    m_thisYearTitle = new QLabel;
    m_lastYearTitle = new QLabel;
    grid->addWidget(m_thisYearTitle, 1, 1, Qt::AlignRight);
    grid->addWidget(m_lastYearTitle, 1, 2, Qt::AlignRight);
    return box;
}

QChartView *TotalsTab::makeChartView(const QString &objectName, const QString &accessibleName)
{
    auto *view = new QChartView;
    view->setObjectName(objectName);
    view->setAccessibleName(accessibleName);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(320, 240);
    return view;
}

RideTotals::Period TotalsTab::period() const
{
    return RideTotals::Period(m_periodKind->currentData().toInt());
}

int TotalsTab::bike() const
{
    return m_bike->currentIndex();
}

void TotalsTab::reload()
{
    m_units = UnitChoice::current();
    QList<PeriodTotal> totals;
    if (const std::optional<LogbookError> failure = RideTotals::compute(m_logbook, period(), bike(), totals))
        qWarning("%s", qPrintable(failure->message()));
    const QString chosen = m_period->currentIndex() >= 0 ? m_shown.value(m_period->currentIndex()).period : QString();
    m_shown = RideTotals::recent(period(), totals, period() == RideTotals::Period::Year ? 0 : RecentPeriods);

    QList<qreal> distances;
    QList<qreal> hours;
    {
        const QSignalBlocker quiet(m_period);
        m_period->clear();
        for (const PeriodTotal &total : std::as_const(m_shown)) {
            m_period->addItem(periodTitle(total.period));
            distances << m_units.distance(quint64(total.distance));
            hours << total.rideTime / SecondsPerHour;
        }
    }
    showChart(m_distanceView, tr("Distance"), m_units.distanceUnit(), distances);
    showChart(m_rideTimeView, tr("Ride time"), tr("h"), hours);

    qsizetype index = m_shown.size() - 1;
    for (qsizetype i = 0; i < m_shown.size(); ++i)
        if (m_shown[i].period == chosen)
            index = i;
    m_period->setCurrentIndex(int(index));
    choosePeriod(int(index));
    showYearSoFar();
}

void TotalsTab::showChart(QChartView *view, const QString &title, const QString &unit, const QList<qreal> &values)
{
    auto *set = new QBarSet(tr("%1 (%2)").arg(title, unit));
    set->append(values);
    auto *series = new QBarSeries;
    series->append(set);
    connect(set, &QBarSet::clicked, m_period, &QComboBox::setCurrentIndex);

    auto *chart = new QChart;
    chart->addSeries(series);
    chart->legend()->hide();
    auto *categories = new QBarCategoryAxis;
    for (const PeriodTotal &total : std::as_const(m_shown))
        categories->append(axisLabel(total.period));
    // Upright labels stay whole however narrow the bars get.
    if (m_shown.size() > 6)
        categories->setLabelsAngle(-90);
    chart->addAxis(categories, Qt::AlignBottom);
    series->attachAxis(categories);
    auto *axis = new QValueAxis;
    axis->setTitleText(unit);
    axis->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(axis, Qt::AlignLeft);
    series->attachAxis(axis);
    if (!values.isEmpty())
        axis->applyNiceNumbers();
    set->setSelectedColor(set->color().darker(160));

    QChart *old = view->chart();
    view->setChart(chart);
    delete old;
}

void TotalsTab::choosePeriod(int index)
{
    for (QChartView *view : {m_distanceView, m_rideTimeView})
        for (QAbstractSeries *series : view->chart()->series())
            for (QBarSet *set : static_cast<QBarSeries *>(series)->barSets()) {
                set->deselectAllBars();
                if (index >= 0)
                    set->selectBar(index);
            }
    if (index < 0 || index >= m_shown.size()) {
        for (QLabel *label : std::as_const(m_figures))
            label->setText(tr("–"));
        return;
    }
    const PeriodTotal &total = m_shown.at(index);
    const QLocale locale;
    m_figures[0]->setText(locale.toString(total.rides));
    m_figures[1]->setText(distanceText(total.distance));
    m_figures[2]->setText(rideTimeText(total.rideTime));
    m_figures[3]->setText(tr("%1 %2").arg(locale.toString(m_units.altitude(quint32(total.ascent)), 'f', 0),
                                          m_units.altitudeUnit()));
    m_figures[4]->setText(tr("%1 kcal").arg(locale.toString(total.kcal)));
}

void TotalsTab::showYearSoFar()
{
    const QDate today = QDate::currentDate();
    PeriodTotal thisYear;
    PeriodTotal lastYear;
    if (const std::optional<LogbookError> failure = RideTotals::yearSoFar(m_logbook, today, bike(), thisYear, lastYear))
        qWarning("%s", qPrintable(failure->message()));
    const QLocale locale;
    m_thisYearTitle->setText(QString::number(today.year()));
    m_lastYearTitle->setText(QString::number(today.year() - 1));
    m_yearSpan->setText(tr("1 January to %1").arg(locale.toString(today, tr("d MMMM", "day and month of today"))));
    showYearColumn(m_thisYear, thisYear);
    showYearColumn(m_lastYear, lastYear);
}

void TotalsTab::showYearColumn(const QList<QLabel *> &labels, const PeriodTotal &total)
{
    labels[0]->setText(distanceText(total.distance));
    labels[1]->setText(rideTimeText(total.rideTime));
    labels[2]->setText(QLocale().toString(total.rides));
}

QString TotalsTab::axisLabel(const QString &period) const
{
    const QDate first = RideTotals::firstDay(this->period(), period);
    switch (this->period()) {
    case RideTotals::Period::Week:
        return QLocale().toString(first, tr("d MMM", "the Monday of a week on the chart's axis"));
    case RideTotals::Period::Month:
        return QLocale().toString(first, tr("MMM yy", "a month on the chart's axis"));
    case RideTotals::Period::Year:
        break;
    }
    return period;
}

QString TotalsTab::periodTitle(const QString &period) const
{
    const QDate first = RideTotals::firstDay(this->period(), period);
    switch (this->period()) {
    case RideTotals::Period::Week:
        return tr("Week %1 of %2, from %3")
            .arg(period.mid(6).toInt())
            .arg(period.left(4), QLocale().toString(first, QLocale::ShortFormat));
    case RideTotals::Period::Month:
        return QLocale().toString(first, tr("MMMM yyyy", "a month in the list of periods"));
    case RideTotals::Period::Year:
        break;
    }
    return period;
}

QString TotalsTab::distanceText(qint64 millimetres) const
{
    return tr("%1 %2").arg(QLocale().toString(m_units.distance(quint64(millimetres)), 'f', 1), m_units.distanceUnit());
}

QString TotalsTab::rideTimeText(qint64 seconds) const
{
    return tr("%1:%2 h").arg(seconds / 3600).arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'));
}
