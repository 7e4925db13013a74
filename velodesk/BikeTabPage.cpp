// SPDX-License-Identifier: GPL-3.0-or-later
#include "velodesk/BikeTabPage.h"

#include "ui_BikeTabPage.h"

#include "linkhub/Bike.h"
#include "linkhub/UnitFactors.h"
#include "outpost/FitLimits.h"
#include "velodesk/ShownValue.h"

#include <QLocale>


namespace {
// Tenths of km/h per km/h.
constexpr double speedTenths = 10.0;

QString distanceText(quint64 millimetres, const UnitFactors &units)
{
    return QString::number(double(millimetres) * units.distanceDisplay, 'f', 3);
}

}

BikeTabPage::BikeTabPage(QWidget *parent) : QWidget(parent), ui(std::make_unique<Ui::BikeTabPage>())
{
    ui->setupUi(this);
    // Within what both the record and a FIT file hold.
    for (QDoubleSpinBox *speed : {ui->avgSpeedSpinBox, ui->maxSpeedSpinBox})
        speed->setMaximum(FitLimits::SpeedTenthsKmh / speedTenths);
    ui->altGainSpinBox->setMaximum(int(FitLimits::AltitudeChange));
    ui->altLossSpinBox->setMaximum(int(FitLimits::AltitudeChange));
    ui->maxAltSpinBox->setMaximum(FitLimits::MaxAltitude);

    // Speeds are shown as stored, in km/h, whatever the unit system. Like every editable value of
    // the program they take the decimal point in any language, as the wizard's fields do.
    for (QDoubleSpinBox *speed : {ui->avgSpeedSpinBox, ui->maxSpeedSpinBox}) {
        speed->setSuffix(tr(" km/h"));
        speed->setLocale(QLocale::c());
    }
    for (QSpinBox *altitude : {ui->altGainSpinBox, ui->altLossSpinBox, ui->maxAltSpinBox})
        altitude->setSuffix(tr(" m"));
}

BikeTabPage::~BikeTabPage() = default;

void BikeTabPage::showBike(const Bike &bike, int unitSystem)
{
    const UnitFactors &units = UnitFactors::forSystem(unitSystem);
    ui->txtBikeDaily->setText(distanceText(bike.dailyDistance, units));
    ui->txtBikeTotal->setText(distanceText(bike.totalDistance, units));
    // Distances are shown in the device's unit system, so their unit follows it.
    const QString distanceUnit = unitSystem == 0 ? tr("km") : tr("mi");
    ui->dailyUnitLabel->setText(distanceUnit);
    ui->totalUnitLabel->setText(distanceUnit);
    ui->rideTimeTimeEdit->setTime(QTime(bike.rideTimeHour, bike.rideTimeMin, bike.rideTimeSec));
    ui->avgSpeedSpinBox->setValue(bike.avgSpeed / speedTenths);
    ui->maxSpeedSpinBox->setValue(bike.maxSpeed / speedTenths);
    ui->altGainSpinBox->setValue(int(bike.altGain));
    ui->altLossSpinBox->setValue(int(bike.altLoss));
    ui->maxAltSpinBox->setValue(bike.maxAlt);
}

void BikeTabPage::storeInto(Bike &bike) const
{
    const QTime rideTime = ui->rideTimeTimeEdit->time();
    bike.rideTimeHour = static_cast<quint8>(rideTime.hour());
    bike.rideTimeMin = static_cast<quint8>(rideTime.minute());
    bike.rideTimeSec = static_cast<quint8>(rideTime.second());
    using ShownValue::keptOrTyped;
    bike.avgSpeed = keptOrTyped(ui->avgSpeedSpinBox, bike.avgSpeed, speedTenths);
    bike.maxSpeed = keptOrTyped(ui->maxSpeedSpinBox, bike.maxSpeed, speedTenths);
    bike.altGain = keptOrTyped(ui->altGainSpinBox, bike.altGain);
    bike.altLoss = keptOrTyped(ui->altLossSpinBox, bike.altLoss);
    bike.maxAlt = keptOrTyped(ui->maxAltSpinBox, bike.maxAlt);
}
