// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "logbook/RideQuery.h"

#include <QWidget>

class Logbook;
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

    explicit RidesTab(Logbook &logbook, QWidget *parent = nullptr);

    /// The table; its model is a RideListModel, with no proxy between.
    QTableView *view() const { return m_view; }
    /// The sums shown under the table.
    const RideSum &sum() const { return m_sum; }
    void focusSearch();

public slots:
    /// Reads the rides and the unit choice again.
    void reload();

private:
    QWidget *createFilters();
    RideFilter filter() const;
    void showPeriod();
    void showSum();

    Logbook &m_logbook;
    RideListModel *m_model;
    QTableView *m_view;
    QComboBox *m_bike;
    QComboBox *m_period;
    QDateEdit *m_from;
    QDateEdit *m_to;
    QLineEdit *m_search;
    QLabel *m_totals;
    RideSum m_sum;
    bool m_sized = false;
};
