// SPDX-License-Identifier: GPL-3.0-or-later
#include "velobook/RidesTab.h"

#include "velobook/UnitChoice.h"

#include "logbook/Logbook.h"
#include "logbook/RideListModel.h"
#include "logbook/RideTotals.h"

#include <QComboBox>
#include <QFutureWatcher>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QTableView>
#include <QVBoxLayout>
#include <QtConcurrent>

namespace {

// Rows the columns are sized to when the list first shows: about the first screenful, which is
// what the user sees of them, and few enough not to slow the start.
constexpr int SizingRows = 16;

// The first and last day of a period that holds `today`; invalid days for no limit.
std::pair<QDate, QDate> daysOf(RidesTab::Period period, const QDate &today)
{
    switch (period) {
    case RidesTab::Period::ThisWeek:
        return RideTotals::daysOf(RideTotals::Period::Week, today);
    case RidesTab::Period::ThisMonth:
        return RideTotals::daysOf(RideTotals::Period::Month, today);
    case RidesTab::Period::ThisYear:
        return RideTotals::daysOf(RideTotals::Period::Year, today);
    case RidesTab::Period::All:
    case RidesTab::Period::FromTo:
        break;
    }
    return {};
}

QLabel *buddyLabel(const QString &text, QWidget *buddy)
{
    auto *label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

} // namespace

RidesTab::RidesTab(Logbook &logbook, QWidget *parent)
    : QWidget(parent), m_reading(logbook.path()), m_unreadable(m_reading.openToRead()),
      m_model(new RideListModel(m_reading, this)), m_view(new QTableView), m_bike(new QComboBox),
      m_period(new QComboBox), m_from(new QDateEdit), m_to(new QDateEdit), m_search(new QLineEdit),
      m_totals(new QLabel)
{
    m_view->setObjectName(QStringLiteral("ridesView"));
    m_view->setAccessibleName(tr("Rides"));
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setAlternatingRowColors(true);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 8);
    m_view->horizontalHeader()->setStretchLastSection(true);
    m_view->horizontalHeader()->setResizeContentsPrecision(SizingRows);
    m_view->horizontalHeader()->setSortIndicator(RideListModel::DateColumn, Qt::DescendingOrder);
    // Sorting is on before the list is there, so that the list is read once, by reload().
    m_view->setSortingEnabled(true);
    m_view->setModel(m_model);

    m_totals->setObjectName(QStringLiteral("lblTotals"));
    m_totals->setAccessibleName(tr("Totals of the rides shown"));
    m_totals->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(createFilters());
    layout->addWidget(m_view, 1);
    layout->addWidget(m_totals);
}

QWidget *RidesTab::createFilters()
{
    m_bike->setObjectName(QStringLiteral("bikeBox"));
    m_bike->setAccessibleName(tr("Bike"));
    m_bike->addItem(tr("Both bikes"), 0);
    m_bike->addItem(tr("Bike 1"), 1);
    m_bike->addItem(tr("Bike 2"), 2);

    m_period->setObjectName(QStringLiteral("periodBox"));
    m_period->setAccessibleName(tr("Period"));
    const std::pair<Period, QString> periods[] = {
        {Period::ThisWeek, tr("This week")}, {Period::ThisMonth, tr("This month")}, {Period::ThisYear, tr("This year")},
        {Period::All, tr("All")},           {Period::FromTo, tr("From–to")},
    };
    for (const auto &[period, text] : periods)
        m_period->addItem(text, int(period));
    m_period->setCurrentIndex(m_period->findData(int(Period::All)));

    const QDate today = QDate::currentDate();
    for (auto [edit, name, day] : {std::tuple{m_from, "fromEdit", today.addMonths(-1)}, std::tuple{m_to, "toEdit", today}}) {
        edit->setObjectName(QLatin1String(name));
        edit->setCalendarPopup(true);
        edit->setDate(day);
        connect(edit, &QDateEdit::dateChanged, this, &RidesTab::reload);
    }
    m_from->setAccessibleName(tr("First day"));
    m_to->setAccessibleName(tr("Last day"));

    m_search->setObjectName(QStringLiteral("searchEdit"));
    m_search->setAccessibleName(tr("Search in the notes"));
    m_search->setPlaceholderText(tr("Search in the notes"));
    m_search->setClearButtonEnabled(true);
    // A CSV log dropped here goes to the window, which imports it, not into the search as text.
    m_search->setAcceptDrops(false);

    connect(m_bike, &QComboBox::currentIndexChanged, this, &RidesTab::reload);
    connect(m_period, &QComboBox::currentIndexChanged, this, &RidesTab::showPeriod);
    connect(m_search, &QLineEdit::textChanged, this, &RidesTab::reload);

    auto *filters = new QWidget;
    auto *row = new QHBoxLayout(filters);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(buddyLabel(tr("&Bike:"), m_bike));
    row->addWidget(m_bike);
    row->addWidget(buddyLabel(tr("&Period:"), m_period));
    row->addWidget(m_period);
    row->addWidget(m_from);
    row->addWidget(m_to);
    row->addStretch();
    row->addWidget(buddyLabel(tr("&Search:"), m_search));
    row->addWidget(m_search, 1);
    // "All" to begin with; the days show for "From–to" only.
    m_from->hide();
    m_to->hide();
    return filters;
}

void RidesTab::showPeriod()
{
    const bool fromTo = Period(m_period->currentData().toInt()) == Period::FromTo;
    m_from->setVisible(fromTo);
    m_to->setVisible(fromTo);
    reload();
}

void RidesTab::focusSearch()
{
    m_search->setFocus(Qt::ShortcutFocusReason);
    m_search->selectAll();
}

RideFilter RidesTab::filter() const
{
    RideFilter filter;
    if (const int bike = m_bike->currentData().toInt())
        filter.bike = bike;
    const Period period = Period(m_period->currentData().toInt());
    if (period == Period::FromTo) {
        filter.from = m_from->date();
        filter.to = m_to->date();
    } else {
        std::tie(filter.from, filter.to) = daysOf(period, QDate::currentDate());
    }
    filter.noteContains = m_search->text();
    return filter;
}

void RidesTab::reload()
{
    RideFilter shown = filter();
    const QHeaderView *header = m_view->horizontalHeader();
    shown.order = RideListModel::orderOf(header->sortIndicatorSection(), header->sortIndicatorOrder());
    m_model->setUnits(UnitChoice::current());
    m_model->show(shown);
    if (m_unreadable || m_model->lastError().isValid()) {
        showFailure(m_unreadable ? *m_unreadable : m_reading.error(m_model->lastError()));
        return;
    }
    if (!m_sized && m_model->rowCount() > 0) {
        m_view->resizeColumnsToContents();
        m_sized = true;
    }
    countSum(shown);
}

namespace {

struct CountedSum
{
    RideSum sum;
    std::optional<LogbookError> failure;
};

// On a thread of the pool, through a connection of its own: a connection serves one thread.
CountedSum count(const QString &path, const RideFilter &filter)
{
    CountedSum counted;
    Logbook logbook(path);
    counted.failure = logbook.openToRead();
    if (!counted.failure)
        counted.failure = RideQuery::sum(logbook, filter, counted.sum);
    return counted;
}

} // namespace

RidesTab::~RidesTab()
{
    for (auto *counting : findChildren<QFutureWatcher<CountedSum> *>())
        counting->waitForFinished();
    // The list queries the connection, which goes with the members, before the children go.
    delete m_model;
}

void RidesTab::countSum(const RideFilter &filter)
{
    const quint64 asked = ++m_sumAsked;
    auto *watcher = new QFutureWatcher<CountedSum>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, asked] {
        watcher->deleteLater();
        // A sum asked for later is on its way; this one is of rides no longer shown.
        if (asked != m_sumAsked)
            return;
        m_sumShown = asked;
        const CountedSum counted = watcher->result();
        if (counted.failure) {
            showFailure(*counted.failure);
        } else {
            m_sum = counted.sum;
            showSum();
        }
    });
    watcher->setFuture(QtConcurrent::run(count, m_reading.path(), filter));
}

void RidesTab::showFailure(const LogbookError &failure)
{
    // Whatever sum is still being counted is of a list that could not be shown.
    m_sumShown = ++m_sumAsked;
    m_sum = RideSum();
    m_totals->setText(failure.message());
}

void RidesTab::showSum()
{
    const DisplayUnits units = UnitChoice::current();
    m_totals->setText(tr("%1: %2 %3, ride time %4, ascent %5 %6, %7 kcal")
                          .arg(m_sum.rides == 1 ? tr("1 ride") : tr("%1 rides").arg(QLocale().toString(m_sum.rides)),
                               RideListModel::distanceText(m_sum.distance, units), units.distanceUnit(),
                               RideListModel::rideTimeText(m_sum.rideTime),
                               RideListModel::altitudeText(m_sum.ascent, units), units.altitudeUnit(),
                               QLocale().toString(m_sum.kcal)));
}
