// SPDX-License-Identifier: GPL-3.0-or-later
#include "velodesk/ChangeValuesPage.h"

#include "ui_ChangeValuesPage.h"

#include "velodesk/FieldLimitValidator.h"
#include "velodesk/RideTimeValidator.h"
#include "linkhub/UnitFactors.h"

#include "linkhub/ComConnection.h"
#include "linkhub/ModelData.h"
#include "logbook/RideEntry.h"
#include "outpost/FitLimits.h"

#include <QSignalBlocker>

#include <algorithm>
#include <cmath>
#include <limits>
#include <type_traits>

namespace {
const QString distancePattern = QStringLiteral("\\d*\\.\\d{0,3}");
const QString countPattern = QStringLiteral("\\d*");
const QString speedPattern = QStringLiteral("\\d{0,3}\\.\\d{0,1}");
// Five digits before the point: altitudes and daily gains above 999.9 m (or ft) are common,
// and a shown value the pattern refuses could not be corrected.
const QString altitudePattern = QStringLiteral("\\d{0,5}\\.\\d{0,1}");

// Tenths of km/h per km/h.
constexpr double speedTenths = 10.0;

template <typename Field>
constexpr double largest()
{
    return double(std::numeric_limits<Field>::max());
}

double decimalOf(const QString &text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok ? value : 0.0;
}

/// Truncates toward zero and keeps the value within the field instead of letting it wrap.
template <typename Field>
Field storedValue(double product)
{
    const double truncated = std::trunc(product);
    if (!(truncated > 0.0))
        return 0;
    if (truncated >= largest<Field>())
        return std::numeric_limits<Field>::max();
    return static_cast<Field>(truncated);
}

template <typename Field>
Field storedCount(const QString &text)
{
    bool ok = false;
    const qulonglong value = text.toULongLong(&ok, 10);
    if (!ok) {
        // Digits beyond 64 bits still mean "more than the field holds".
        const bool onlyDigits = !text.isEmpty()
            && std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isDigit(); });
        return onlyDigits ? std::numeric_limits<Field>::max() : 0;
    }
    return value >= qulonglong(std::numeric_limits<Field>::max()) ? std::numeric_limits<Field>::max()
                                                                  : static_cast<Field>(value);
}
}

ChangeValuesPage::ChangeValuesPage(ComConnection *connection, QWidget *parent)
    : QWizardPage(parent), ui(std::make_unique<Ui::ChangeValuesPage>()), shownUnits(&UnitFactors::metric())
{
    ui->setupUi(this);
    setEditable(false);
    this->connection = connection;
    registerField(QStringLiteral("valuesCorrected"), this, "valuesCorrected");

    const UnitFactors &units = *shownUnits;
    distanceValidator = attachValidator(ui->distanceEdit, distancePattern, largest<quint32>());
    distanceValidator->setScale(units.distanceWriteBack);
    // Typed values stay within what both the record and a FIT file hold; the distance's record
    // field is the narrower of the two.
    attachValidator(ui->kcalEdit, countPattern, FitLimits::Calories);
    avgSpeedValidator = attachValidator(ui->avgSpeedEdit, speedPattern, FitLimits::SpeedTenthsKmh);
    maxSpeedValidator = attachValidator(ui->maxSpeedEdit, speedPattern, FitLimits::SpeedTenthsKmh);
    altGainValidator = attachValidator(ui->altGainEdit, altitudePattern, FitLimits::AltitudeChange);
    altLossValidator = attachValidator(ui->altLossEdit, altitudePattern, FitLimits::AltitudeChange);
    altMaxValidator = attachValidator(ui->altMaxEdit, altitudePattern, FitLimits::MaxAltitude);
    attachValidator(ui->hrAvgEdit, countPattern, FitLimits::HeartRate);
    attachValidator(ui->hrMaxEdit, countPattern, FitLimits::HeartRate);
    attachValidator(ui->cadAvgEdit, countPattern, FitLimits::Cadence);
    attachValidator(ui->cadMaxEdit, countPattern, FitLimits::Cadence);
    ui->rideTimeEdit->setValidator(new RideTimeValidator(this));
    useUnits(true);

    connect(ui->changeButton, &QPushButton::clicked, this, &ChangeValuesPage::onChangeValues);
    connect(ui->metricRadioButton, &QRadioButton::toggled, this, &ChangeValuesPage::onSystemChanged);
}

ChangeValuesPage::~ChangeValuesPage() = default;

FieldLimitValidator *ChangeValuesPage::attachValidator(QLineEdit *edit, const QString &pattern, double largestStored)
{
    auto *validator = new FieldLimitValidator(pattern, largestStored, 1.0, this);
    edit->setValidator(validator);
    return validator;
}

void ChangeValuesPage::setEditable(bool editable)
{
    const QList<QWidget *> widgets{
        ui->metricRadioButton, ui->imperialRadioButton, ui->rideTimeEdit, ui->distanceEdit,
        ui->kcalEdit, ui->avgSpeedEdit, ui->maxSpeedEdit, ui->altGainEdit, ui->altLossEdit,
        ui->altMaxEdit, ui->hrAvgEdit, ui->hrMaxEdit, ui->cadAvgEdit, ui->cadMaxEdit,
    };
    for (QWidget *widget : widgets)
        widget->setEnabled(editable);
}

int ChangeValuesPage::bikeIndex() const
{
    return field(QStringLiteral("bike1")).toBool() ? 0 : 1;
}

void ChangeValuesPage::onChangeValues()
{
    setEditable(ui->changeButton->isChecked());
}

void ChangeValuesPage::initializePage()
{
    const bool bike1 = field(QStringLiteral("bike1")).toBool();
    ui->dateLabel->setText(field(QStringLiteral("date")).toDate().toString(QStringLiteral("dd.MM.yyyy")));
    ui->timeLabel->setText(field(QStringLiteral("time")).toTime().toString(QStringLiteral("HH:mm:ss")));
    ui->bikeLabel->setText(QStringLiteral("Bike %0").arg(bike1 ? QStringLiteral("1") : QStringLiteral("2")));

    const ModelData *record = connection->getData();
    if (!record)
        return;
    if (!record->deviceModel || !record->deviceModel->has(DeviceModel::AltitudeValues))
        ui->altitudeGroup->hide();

    const Bike &bike = record->bikes[bikeIndex()];
    ui->rideTimeEdit->setText(RideTimeValidator::format(bike.rideTimeHour, bike.rideTimeMin, bike.rideTimeSec));

    if (record->unitSystem == 0) {
        const QSignalBlocker quiet(ui->metricRadioButton);
        ui->metricRadioButton->setChecked(true);
        useUnits(true);
    } else {
        ui->imperialRadioButton->setChecked(true);
        useUnits(false);
    }

    ui->kcalEdit->setText(QString::number(record->dailyCalories));
    ui->hrAvgEdit->setText(QString::number(record->avgHeartRate));
    ui->hrMaxEdit->setText(QString::number(record->maxHeartRate));
    ui->cadAvgEdit->setText(QString::number(bike.avgCadence));
    ui->cadMaxEdit->setText(QString::number(bike.maxCadence));
}

void ChangeValuesPage::onSystemChanged(bool metric)
{
    useUnits(metric);
}

void ChangeValuesPage::useUnits(bool metric)
{
    const UnitFactors &factors = metric ? UnitFactors::metric() : UnitFactors::imperial();
    shownUnits = &factors;
    showUnitNames(metric);
    distanceValidator->setScale(factors.distanceWriteBack);
    avgSpeedValidator->setScale(speedTenths * factors.speedWriteBack);
    maxSpeedValidator->setScale(speedTenths * factors.speedWriteBack);
    altGainValidator->setScale(factors.altitudeWriteBack);
    altLossValidator->setScale(factors.altitudeWriteBack);
    altMaxValidator->setScale(factors.altitudeWriteBack);
    fillUnitFields();
}

void ChangeValuesPage::fillUnitFields()
{
    const ModelData *record = connection->getData();
    if (!record)
        return;
    const Bike &bike = record->bikes[bikeIndex()];
    const UnitFactors &units = *shownUnits;
    const auto fill = [this](QLineEdit *edit, double value, int decimals) {
        const QString text = QString::number(value, 'f', decimals);
        edit->setText(text);
        filledTexts.insert(edit, text);
    };
    fill(ui->distanceEdit, bike.dailyDistance * units.distanceDisplay, 3);
    fill(ui->avgSpeedEdit, bike.avgSpeed / speedTenths * units.speedDisplay, 1);
    fill(ui->maxSpeedEdit, bike.maxSpeed / speedTenths * units.speedDisplay, 1);
    fill(ui->altGainEdit, bike.altGain * units.altitudeDisplay, 1);
    fill(ui->altLossEdit, bike.altLoss * units.altitudeDisplay, 1);
    fill(ui->altMaxEdit, bike.maxAlt * units.altitudeDisplay, 1);
}

void ChangeValuesPage::showUnitNames(bool metric)
{
    const QString distance = metric ? tr("km") : tr("mi");
    const QString speed = metric ? tr("km/h") : tr("mph");
    const QString altitude = metric ? tr("m") : tr("ft");
    ui->distanceUnit->setText(distance);
    ui->avgSpeedUnit->setText(speed);
    ui->maxSpeedUnit->setText(speed);
    ui->altGainUnit->setText(altitude);
    ui->altLossUnit->setText(altitude);
    ui->altMaxUnit->setText(altitude);
}

bool ChangeValuesPage::isEdited(const QLineEdit *edit) const
{
    const auto filled = filledTexts.constFind(edit);
    return filled == filledTexts.constEnd() || edit->text() != filled.value();
}

bool ChangeValuesPage::validatePage()
{
    ModelData *record = connection->getData();
    if (!record)
        return true;
    Bike &bike = record->bikes[bikeIndex()];
    const RideEntry asShown = RideEntry::fromRecord(*record, bikeIndex());

    // Text that is no time of day (incomplete, or 24 hours and more) leaves the stored time alone.
    const QTime rideTime = RideTimeValidator::readTime(ui->rideTimeEdit->text());
    if (rideTime.isValid()) {
        bike.rideTimeHour = static_cast<quint8>(rideTime.hour());
        bike.rideTimeMin = static_cast<quint8>(rideTime.minute());
        bike.rideTimeSec = static_cast<quint8>(rideTime.second());
    }

    const bool metric = ui->metricRadioButton->isChecked();
    record->unitSystem = metric ? 0 : 1;
    const UnitFactors &units = metric ? UnitFactors::metric() : UnitFactors::imperial();

    const auto storeIfEdited = [this](const QLineEdit *edit, auto &target, double writeBack) {
        if (isEdited(edit))
            target = storedValue<std::decay_t<decltype(target)>>(decimalOf(edit->text()) * writeBack);
    };
    storeIfEdited(ui->distanceEdit, bike.dailyDistance, units.distanceWriteBack);
    record->dailyCalories = storedCount<quint32>(ui->kcalEdit->text());
    storeIfEdited(ui->avgSpeedEdit, bike.avgSpeed, speedTenths * units.speedWriteBack);
    storeIfEdited(ui->maxSpeedEdit, bike.maxSpeed, speedTenths * units.speedWriteBack);
    storeIfEdited(ui->altGainEdit, bike.altGain, units.altitudeWriteBack);
    storeIfEdited(ui->altLossEdit, bike.altLoss, units.altitudeWriteBack);
    storeIfEdited(ui->altMaxEdit, bike.maxAlt, units.altitudeWriteBack);
    record->avgHeartRate = storedCount<quint8>(ui->hrAvgEdit->text());
    record->maxHeartRate = storedCount<quint8>(ui->hrMaxEdit->text());
    bike.avgCadence = storedCount<quint16>(ui->cadAvgEdit->text());
    bike.maxCadence = storedCount<quint16>(ui->cadMaxEdit->text());
    corrected = corrected || RideEntry::fromRecord(*record, bikeIndex()).values != asShown.values;
    return true;
}
