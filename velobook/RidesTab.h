// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "logbook/Logbook.h"
#include "logbook/RideQuery.h"

#include <QWidget>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QTableView;
class RideListModel;

/// The rides of the logbook in a table, newest first, with filters above it and the sums of
/// what they let through below it.
class RidesTab : public QWidget
{
    Q_OBJECT

public:
    /// The periods the filter offers, in its list's order.
    enum class Period { ThisWeek, ThisMonth, ThisYear, All, FromTo };

    /// Reads `logbook` through a connection of its own, which its list may hold as long as it
    /// likes without keeping a change waiting.
    explicit RidesTab(Logbook &logbook, QWidget *parent = nullptr);
    /// Waits for sums still being counted, which use the logbook's file and its database driver.
    ~RidesTab() override;

    /// The table; its model is a RideListModel, with no proxy between.
    QTableView *view() const { return m_view; }
    /// The sums shown under the table. They are counted apart from the window, so that a long
    /// logbook never holds it up, and follow a reload() as soon as they are there.
    const RideSum &sum() const { return m_sum; }
    /// Whether the sums shown are those of the rides shown.
    bool sumIsCurrent() const { return m_sumShown == m_sumAsked; }
    void focusSearch();

public slots:
    /// Reads the rides and the unit choice again.
    void reload();

private:
    QWidget *createFilters();
    RideFilter filter() const;
    void showPeriod();
    void countSum(const RideFilter &filter);
    void showSum();
    void showFailure(const LogbookError &failure);

    Logbook m_reading;
    std::optional<LogbookError> m_unreadable;
    RideListModel *m_model;
    QTableView *m_view;
    QComboBox *m_bike;
    QComboBox *m_period;
    QDateEdit *m_from;
    QDateEdit *m_to;
    QLineEdit *m_search;
    QLabel *m_totals;
    RideSum m_sum;
    quint64 m_sumAsked = 0;
    quint64 m_sumShown = 0;
    bool m_sized = false;
};
