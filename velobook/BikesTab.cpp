// SPDX-License-Identifier: GPL-3.0-or-later
#include "velobook/BikesTab.h"

#include "velobook/UnitChoice.h"

#include "logbook/Logbook.h"

#include <QChart>
#include <QChartView>
#include <QDateEdit>
#include <QDateTimeAxis>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QListWidget>
#include <QLocale>
#include <QMessageBox>
#include <QVBoxLayout>
#include <QValueAxis>

namespace {

// The service day edit stands at this day while no service day is set; it shows a text instead.
const QDate NoServiceDay(2000, 1, 1);

} // namespace

BikesTab::BikesTab(Logbook &logbook, QWidget *parent)
    : QWidget(parent), m_logbook(logbook), m_register(logbook), m_units(UnitChoice::current())
{
    m_list = new QListWidget;
    m_list->setObjectName(QStringLiteral("bikes"));
    m_list->setAccessibleName(tr("Bikes"));
    m_list->setMaximumWidth(280);

    auto *listLabel = new QLabel(tr("&Bikes:"));
    listLabel->setBuddy(m_list);
    auto *left = new QVBoxLayout;
    left->addWidget(listLabel);
    left->addWidget(m_list, 1);

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addWidget(makeDetails(), 1);

    connect(m_list, &QListWidget::currentRowChanged, this, &BikesTab::showBike);
    connect(m_name, &QLineEdit::editingFinished, this, &BikesTab::rename);
    connect(m_serviceDay, &QDateEdit::dateChanged, this, &BikesTab::setServiceDay);
}

QWidget *BikesTab::makeDetails()
{
    m_name = new QLineEdit;
    // A CSV log dropped here goes to the window, which imports it, not into the name as text.
    m_name->setAcceptDrops(false);
    m_name->setObjectName(QStringLiteral("bikeName"));
    m_name->setAccessibleName(tr("Name of the bike"));
    m_name->setPlaceholderText(tr("e.g. Road bike"));
    m_name->setClearButtonEnabled(true);

    m_serviceDay = new QDateEdit;
    m_serviceDay->setObjectName(QStringLiteral("serviceDay"));
    m_serviceDay->setAccessibleName(tr("Serviced on"));
    m_serviceDay->setCalendarPopup(true);
    m_serviceDay->setMinimumDate(NoServiceDay);
    m_serviceDay->setSpecialValueText(tr("Not yet"));

    m_distanceSince = new QLabel;
    m_distanceSince->setObjectName(QStringLiteral("distanceSince"));
    m_distanceSince->setAccessibleName(tr("Distance since the service"));
    m_distanceSince->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);

    m_odometer = new QChartView;
    m_odometer->setObjectName(QStringLiteral("odometerChart"));
    m_odometer->setAccessibleName(tr("Odometer over time"));
    m_odometer->setRenderHint(QPainter::Antialiasing);
    m_odometer->setMinimumSize(320, 240);

    auto *box = new QGroupBox(tr("The chosen bike"));
    auto *form = new QFormLayout(box);
    form->addRow(tr("&Name:"), m_name);
    form->addRow(tr("&Serviced on:"), m_serviceDay);
    form->addRow(tr("Distance since:"), m_distanceSince);
    form->addRow(m_odometer);
    return box;
}

QString BikesTab::displayName(const BikeRecord &bike)
{
    const QString device = bike.device.isEmpty() ? tr("Imported logs") : bike.model.isEmpty() ? bike.device : bike.model;
    const QString which = tr("%1, bike %2").arg(device).arg(bike.bike);
    return bike.name.isEmpty() ? which : tr("%1 (%2)").arg(bike.name, which);
}

void BikesTab::reload()
{
    m_units = UnitChoice::current();
    const bool wasChosen = m_list->currentRow() >= 0 && m_list->currentRow() < m_bikes.size();
    const BikeRecord chosen = m_bikes.value(m_list->currentRow());
    m_bikes.clear();
    report(m_register.bikes(m_bikes));

    const QSignalBlocker quiet(m_list);
    m_list->clear();
    int row = m_bikes.isEmpty() ? -1 : 0;
    for (qsizetype i = 0; i < m_bikes.size(); ++i) {
        m_list->addItem(displayName(m_bikes[i]));
        if (wasChosen && m_bikes[i].device == chosen.device && m_bikes[i].bike == chosen.bike)
            row = int(i);
    }
    m_list->setCurrentRow(row);
    showBike(row);
}

void BikesTab::showBike(int row)
{
    const bool known = row >= 0 && row < m_bikes.size();
    const BikeRecord bike = m_bikes.value(row);
    for (QWidget *edit : std::initializer_list<QWidget *>{m_name, m_serviceDay})
        edit->setEnabled(known);
    {
        const QSignalBlocker quietName(m_name);
        const QSignalBlocker quietDay(m_serviceDay);
        m_name->setText(bike.name);
        m_serviceDay->setDate(bike.serviceDay.isValid() ? bike.serviceDay : NoServiceDay);
    }
    showDistanceSince(bike, known);
    showOdometer(bike);
}

void BikesTab::showDistanceSince(const BikeRecord &bike, bool known)
{
    const QString distance = QLocale().toString(m_units.distance(quint64(bike.distanceSince)), 'f', 1);
    m_distanceSince->setText(known ? tr("%1 %2").arg(distance, m_units.distanceUnit()) : QString());
}

void BikesTab::showOdometer(const BikeRecord &bike)
{
    QList<OdometerRead> reads;
    if (m_list->currentRow() >= 0)
        report(m_register.odometer(bike.device, bike.bike, reads));
    auto *series = new QLineSeries;
    series->setName(tr("Odometer (%1)").arg(m_units.distanceUnit()));
    series->setPointsVisible(true);
    for (const OdometerRead &read : std::as_const(reads))
        series->append(qreal(read.day.startOfDay().toMSecsSinceEpoch()), m_units.distance(read.odometer));

    auto *chart = new QChart;
    chart->addSeries(series);
    chart->legend()->hide();
    chart->setTitle(tr("Odometer"));
    auto *days = new QDateTimeAxis;
    days->setFormat(tr("MMM yyyy", "a month on the odometer chart's axis"));
    chart->addAxis(days, Qt::AlignBottom);
    series->attachAxis(days);
    auto *distance = new QValueAxis;
    distance->setTitleText(m_units.distanceUnit());
    distance->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(distance, Qt::AlignLeft);
    series->attachAxis(distance);
    distance->applyNiceNumbers();

    QChart *old = m_odometer->chart();
    m_odometer->setChart(chart);
    delete old;
}

void BikesTab::rename()
{
    const int row = m_list->currentRow();
    if (row >= 0 && row < m_bikes.size() && m_name->text().trimmed() != m_bikes[row].name)
        changed(m_register.rename(m_bikes[row].device, m_bikes[row].bike, m_name->text()));
}

void BikesTab::setServiceDay(const QDate &day)
{
    const int row = m_list->currentRow();
    if (row >= 0 && row < m_bikes.size())
        changed(m_register.setServiceDay(m_bikes[row].device, m_bikes[row].bike, day == NoServiceDay ? QDate() : day));
}

// Only the list and the figures are shown again, so that the edit the rider is in keeps its cursor.
void BikesTab::changed(const std::optional<LogbookError> &failure)
{
    if (failure) {
        QMessageBox::warning(this, tr("Pacerow Logbook"), failure->message());
        return;
    }
    const int row = m_list->currentRow();
    m_bikes.clear();
    report(m_register.bikes(m_bikes));
    for (int i = 0; i < m_list->count() && i < m_bikes.size(); ++i)
        m_list->item(i)->setText(displayName(m_bikes[i]));
    showDistanceSince(m_bikes.value(row), row >= 0 && row < m_bikes.size());
    emit bikesChanged();
}

void BikesTab::report(const std::optional<LogbookError> &failure)
{
    if (failure)
        qWarning("%s", qPrintable(failure->message()));
}
