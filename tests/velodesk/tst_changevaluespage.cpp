// SPDX-License-Identifier: GPL-3.0-or-later
// The value page: the chosen bike's values shown in the device's units, unit switching,
// corrections written back into the record, and edits limited to what the record can hold.

#include "TestSettings.h"
#include "WizardDriver.h"

#include "velodesk/Startup.h"
#include "velodesk/WizardPageId.h"

#include "linkhub/ComConnection.h"
#include "tools/simulator/SimulatedBikeComputer.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {
constexpr int deviceWaitMs = int(WizardDriver::DeviceWait.count());

const QStringList unitFields{"distanceEdit", "avgSpeedEdit", "maxSpeedEdit", "altGainEdit", "altLossEdit", "altMaxEdit"};
const QStringList valueFields{"rideTimeEdit", "distanceEdit", "kcalEdit", "avgSpeedEdit", "maxSpeedEdit",
                              "altGainEdit", "altLossEdit", "altMaxEdit", "hrAvgEdit", "hrMaxEdit",
                              "cadAvgEdit", "cadMaxEdit"};

/// The values of one bike the tests put on the device.
struct BikeValues
{
    quint32 distance;
    quint16 avgSpeed;
    quint16 maxSpeed;
    quint32 altGain;
    quint32 altLoss;
    quint16 maxAlt;
    quint16 avgCadence;
    quint16 maxCadence;
    quint8 hours, minutes, seconds;
};

void putOnBike(Bike &bike, const BikeValues &values)
{
    bike.dailyDistance = values.distance;
    bike.avgSpeed = values.avgSpeed;
    bike.maxSpeed = values.maxSpeed;
    bike.altGain = values.altGain;
    bike.altLoss = values.altLoss;
    bike.maxAlt = values.maxAlt;
    bike.avgCadence = values.avgCadence;
    bike.maxCadence = values.maxCadence;
    bike.rideTimeHour = values.hours;
    bike.rideTimeMin = values.minutes;
    bike.rideTimeSec = values.seconds;
}

// A day whose figures are easy to check by hand: 12345678 mm, 25.0 km/h, 123 m.
const BikeValues figures{12345678, 250, 612, 123, 98, 1260, 86, 117, 1, 52, 37};
const BikeValues otherBike{30000000, 180, 400, 10, 20, 300, 70, 90, 0, 45, 5};
}

class ChangeValuesPageTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void showsAndStores_data();
    void showsAndStores();
    void altitudeGroupOnlyWithAltitudeValues();
    void editableOnlyWithChangeValues();
    void switchingUnitsRefillsUnitFields();
    void onlyEditedFieldsAreConverted_data();
    void onlyEditedFieldsAreConverted();
    void unitsBesideTheFields();
    void typingIsLimitedToTheField_data();
    void typingIsLimitedToTheField();
    void limitFollowsUnitSystem();
    void valuesBeyondTheFieldDoNotWrap();
    void rideTimeIsATimeOfDay_data();
    void rideTimeIsATimeOfDay();
    void longRideTimeIsKept();
    void emptyFieldsStoreZero();

private:
    /// Drives a fresh wizard to the value page for a device holding these values.
    bool openValuesPage(WizardDriver &driver, SimulatedBikeComputer &device, bool bike1);
    QLineEdit *edit(WizardDriver &driver, const QString &name) { return driver.find<QLineEdit>(name); }
    static void retype(QLineEdit *edit, const QString &text);
    /// Clicks a radio button on its indicator.
    static void clickRadio(WizardDriver &driver, const QString &name);

    std::unique_ptr<TestSettings> settings;
};

void ChangeValuesPageTest::initTestCase()
{
    settings = std::make_unique<TestSettings>();
    QVERIFY(settings->isIsolated());
    Startup::registerMetaTypes();
}

void ChangeValuesPageTest::init()
{
    settings->clear();
    TestSettings::setShowIntro(false);
}

bool ChangeValuesPageTest::openValuesPage(WizardDriver &driver, SimulatedBikeComputer &device, bool bike1)
{
    if (!device.start())
        return false;
    driver.connectTo(device.portName());
    if (!QTest::qWaitFor([&] { return driver.hasReadAll(*device.model()); }, deviceWaitMs))
        return false;
    if (!driver.press(QWizard::CommitButton))
        return false;
    driver.find<QRadioButton>(bike1 ? QStringLiteral("bike1RadioButton") : QStringLiteral("bike2RadioButton"))
        ->setChecked(true);
    return driver.press(QWizard::NextButton) && driver.wizard().currentId() == ChangeValuesPageId;
}

void ChangeValuesPageTest::retype(QLineEdit *edit, const QString &text)
{
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

void ChangeValuesPageTest::clickRadio(WizardDriver &driver, const QString &name)
{
    auto *radio = driver.find<QRadioButton>(name);
    QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
}

void ChangeValuesPageTest::showsAndStores_data()
{
    QTest::addColumn<int>("unitSystem");
    QTest::addColumn<bool>("bike1");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QList<qlonglong>>("stored");

    // Shown: ride time, distance, kcal, speeds, altitudes, heart rates, cadences.
    // Stored after Next: distance, speeds, altitudes, ride seconds. Nothing was edited, so the
    // rounded texts (7.671 miles, 15.5 mph, 403.5 ft) do not replace the exact figures.
    QTest::newRow("metric, bike 1")
        << 0 << true
        << QStringList{"01:52:37", "12.346", "1234", "25.0", "61.2", "123.0", "98.0", "1260.0", "131", "177", "86", "117"}
        << QList<qlonglong>{12345678, 250, 612, 123, 98, 1260, 6757};
    QTest::newRow("imperial, bike 1")
        << 1 << true
        << QStringList{"01:52:37", "7.671", "1234", "15.5", "38.0", "403.5", "321.5", "4133.9", "131", "177", "86", "117"}
        << QList<qlonglong>{12345678, 250, 612, 123, 98, 1260, 6757};
    QTest::newRow("metric, bike 2")
        << 0 << false
        << QStringList{"00:45:05", "30.000", "1234", "18.0", "40.0", "10.0", "20.0", "300.0", "131", "177", "70", "90"}
        << QList<qlonglong>{30000000, 180, 400, 10, 20, 300, 2705};
}

void ChangeValuesPageTest::showsAndStores()
{
    QFETCH(int, unitSystem);
    QFETCH(bool, bike1);
    QFETCH(QStringList, shown);
    QFETCH(QList<qlonglong>, stored);
    const int index = bike1 ? 0 : 1;

    SimulatedBikeComputer device{0x23};
    ModelData values = device.values();
    values.unitSystem = unitSystem;
    putOnBike(values.bikes[0], figures);
    putOnBike(values.bikes[1], otherBike);
    values.dailyCalories = 1234;
    values.avgHeartRate = 131;
    values.maxHeartRate = 177;
    device.setValues(values);
    WizardDriver driver;
    QVERIFY(openValuesPage(driver, device, bike1));

    QCOMPARE(driver.find<QLabel>(QStringLiteral("bikeLabel"))->text(), bike1 ? QStringLiteral("Bike 1") : QStringLiteral("Bike 2"));
    QCOMPARE(driver.find<QRadioButton>(QStringLiteral("metricRadioButton"))->isChecked(), unitSystem == 0);
    QCOMPARE(driver.find<QRadioButton>(QStringLiteral("imperialRadioButton"))->isChecked(), unitSystem == 1);
    QStringList texts;
    for (const QString &name : valueFields)
        texts.append(edit(driver, name)->text());
    QCOMPARE(texts, shown);

    // Next without changes keeps the values, and touches the chosen bike only.
    const Bike untouched = driver.connection().getData()->bikes[1 - index];
    QVERIFY(driver.press(QWizard::NextButton));
    const ModelData *record = driver.connection().getData();
    const Bike &bike = record->bikes[index];
    QCOMPARE(qlonglong(bike.dailyDistance), stored.at(0));
    QCOMPARE(qlonglong(bike.avgSpeed), stored.at(1));
    QCOMPARE(qlonglong(bike.maxSpeed), stored.at(2));
    QCOMPARE(qlonglong(bike.altGain), stored.at(3));
    QCOMPARE(qlonglong(bike.altLoss), stored.at(4));
    QCOMPARE(qlonglong(bike.maxAlt), stored.at(5));
    QCOMPARE(qlonglong(bike.rideTimeHour * 3600 + bike.rideTimeMin * 60 + bike.rideTimeSec), stored.at(6));
    QCOMPARE(record->unitSystem, unitSystem);
    QCOMPARE(record->dailyCalories, 1234u);
    QCOMPARE(int(record->avgHeartRate), 131);
    QCOMPARE(int(record->maxHeartRate), 177);
    const Bike &other = record->bikes[1 - index];
    QCOMPARE(other.dailyDistance, untouched.dailyDistance);
    QCOMPARE(other.avgSpeed, untouched.avgSpeed);
    QCOMPARE(other.altGain, untouched.altGain);
    QCOMPARE(other.avgCadence, untouched.avgCadence);
}

void ChangeValuesPageTest::altitudeGroupOnlyWithAltitudeValues()
{
    SimulatedBikeComputer device{0x22};
    ModelData values = device.values();
    values.unitSystem = 0;
    device.setValues(values);
    WizardDriver driver;
    QVERIFY(openValuesPage(driver, device, true));
    auto *group = driver.find<QGroupBox>(QStringLiteral("altitudeGroup"));
    QCOMPARE(group->title(), QStringLiteral("Altitude"));
    QVERIFY(group->isHidden());

    // The hidden fields are still written back.
    edit(driver, QStringLiteral("altGainEdit"))->setText(QStringLiteral("55.0"));
    edit(driver, QStringLiteral("altMaxEdit"))->setText(QStringLiteral("310.0"));
    QVERIFY(driver.press(QWizard::NextButton));
    QCOMPARE(driver.connection().getData()->bikes[0].altGain, 55u);
    QCOMPARE(int(driver.connection().getData()->bikes[0].maxAlt), 310);

    // Back and forward again: still hidden.
    QVERIFY(driver.press(QWizard::BackButton));
    QVERIFY(driver.press(QWizard::NextButton));
    QVERIFY(group->isHidden());

    SimulatedBikeComputer withAltitude{0x51};
    WizardDriver second;
    QVERIFY(openValuesPage(second, withAltitude, true));
    QVERIFY(second.find<QGroupBox>(QStringLiteral("altitudeGroup"))->isVisible());
}

void ChangeValuesPageTest::editableOnlyWithChangeValues()
{
    SimulatedBikeComputer device{0x21};
    WizardDriver driver;
    QVERIFY(openValuesPage(driver, device, true));
    auto *change = driver.find<QPushButton>(QStringLiteral("changeButton"));
    QCOMPARE(change->text(), QStringLiteral("Change Values"));
    QVERIFY(change->isCheckable());
    QStringList editable = valueFields + QStringList{"metricRadioButton", "imperialRadioButton"};
    const auto enabledStates = [&] {
        QList<bool> states;
        for (const QString &name : editable)
            states.append(driver.find<QWidget>(name)->isEnabled());
        return states;
    };
    QCOMPARE(enabledStates(), QList<bool>(editable.size(), false));
    QTest::mouseClick(change, Qt::LeftButton);
    QCOMPARE(enabledStates(), QList<bool>(editable.size(), true));

    // The toggle survives going back and forward.
    QVERIFY(driver.press(QWizard::BackButton));
    QVERIFY(driver.press(QWizard::NextButton));
    QVERIFY(change->isChecked());
    QCOMPARE(enabledStates(), QList<bool>(editable.size(), true));
    QTest::mouseClick(change, Qt::LeftButton);
    QCOMPARE(enabledStates(), QList<bool>(editable.size(), false));
    QVERIFY(change->isEnabled());
}

void ChangeValuesPageTest::switchingUnitsRefillsUnitFields()
{
    SimulatedBikeComputer device{0x51};
    ModelData values = device.values();
    values.unitSystem = 1;
    putOnBike(values.bikes[0], figures);
    device.setValues(values);
    WizardDriver driver;
    QVERIFY(openValuesPage(driver, device, true));
    QTest::mouseClick(driver.find<QPushButton>(QStringLiteral("changeButton")), Qt::LeftButton);

    retype(edit(driver, QStringLiteral("avgSpeedEdit")), QStringLiteral("20.0"));
    retype(edit(driver, QStringLiteral("hrAvgEdit")), QStringLiteral("99"));
    QCOMPARE(edit(driver, QStringLiteral("avgSpeedEdit"))->text(), QStringLiteral("20.0"));
    clickRadio(driver, QStringLiteral("metricRadioButton"));
    QVERIFY(driver.find<QRadioButton>(QStringLiteral("metricRadioButton"))->isChecked());

    QStringList texts;
    for (const QString &name : unitFields)
        texts.append(edit(driver, name)->text());
    QCOMPARE(texts, QStringList({"12.346", "25.0", "61.2", "123.0", "98.0", "1260.0"}));
    QCOMPARE(edit(driver, QStringLiteral("hrAvgEdit"))->text(), QStringLiteral("99"));
    QCOMPARE(driver.connection().getData()->unitSystem, 1);

    // Next stores the metric figures and the metric unit system.
    QVERIFY(driver.press(QWizard::NextButton));
    QCOMPARE(driver.connection().getData()->unitSystem, 0);
    QCOMPARE(driver.connection().getData()->bikes[0].avgSpeed, quint16(250));
    QCOMPARE(int(driver.connection().getData()->avgHeartRate), 99);
}

void ChangeValuesPageTest::onlyEditedFieldsAreConverted_data()
{
    QTest::addColumn<int>("deviceUnits");
    QTest::addColumn<QString>("edited");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QList<qlonglong>>("stored");

    // Stored: distance, speeds, altitude gain, loss and maximum. The Lumo 60 said 812 m up,
    // 798 m down and 61.2 km/h; seen in feet and mph they come back as 811, 797 and 61.1, and
    // seen in km the distance loses its metres, unless unedited fields keep the record's values.
    const QList<qlonglong> asRead{48731234, 259, 612, 812, 798, 1301};
    QTest::newRow("metric device seen in imperial") << 0 << QString() << QString() << asRead;
    QTest::newRow("imperial device seen in metric") << 1 << QString() << QString() << asRead;
    QList<qlonglong> gainEdited = asRead;
    gainEdited[3] = 304; // 1000 ft
    QTest::newRow("an edited field is converted") << 0 << "altGainEdit" << "1000.0" << gainEdited;
}

void ChangeValuesPageTest::onlyEditedFieldsAreConverted()
{
    QFETCH(int, deviceUnits);
    QFETCH(QString, edited);
    QFETCH(QString, typed);
    QFETCH(QList<qlonglong>, stored);

    SimulatedBikeComputer device{0x51};
    ModelData values = device.values();
    values.unitSystem = deviceUnits;
    putOnBike(values.bikes[0], {48731234, 259, 612, 812, 798, 1301, 80, 110, 1, 52, 37});
    device.setValues(values);
    WizardDriver driver;
    QVERIFY(openValuesPage(driver, device, true));
    QTest::mouseClick(driver.find<QPushButton>(QStringLiteral("changeButton")), Qt::LeftButton);
    clickRadio(driver, deviceUnits == 0 ? QStringLiteral("imperialRadioButton") : QStringLiteral("metricRadioButton"));
    if (!edited.isEmpty())
        retype(edit(driver, edited), typed);
    QVERIFY(driver.press(QWizard::NextButton));

    const Bike &bike = driver.connection().getData()->bikes[0];
    QCOMPARE((QList<qlonglong>{bike.dailyDistance, bike.avgSpeed, bike.maxSpeed, bike.altGain, bike.altLoss, bike.maxAlt}),
             stored);
    QCOMPARE(driver.connection().getData()->unitSystem, deviceUnits == 0 ? 1 : 0);
}

void ChangeValuesPageTest::unitsBesideTheFields()
{
    SimulatedBikeComputer device{0x23};
    ModelData values = device.values();
    values.unitSystem = 1;
    device.setValues(values);
    WizardDriver driver;
    QVERIFY(openValuesPage(driver, device, true));
    const QStringList units{"distanceUnit", "kcalUnit", "avgSpeedUnit", "maxSpeedUnit", "altGainUnit",
                            "altLossUnit", "altMaxUnit", "hrAvgUnit", "hrMaxUnit", "cadAvgUnit", "cadMaxUnit"};
    const auto shownUnits = [&] {
        QStringList texts;
        for (const QString &name : units)
            texts.append(driver.find<QLabel>(name)->text());
        return texts;
    };
    QCOMPARE(shownUnits(), QStringList({"mi", "kcal", "mph", "mph", "ft", "ft", "ft", "bpm", "bpm", "rpm", "rpm"}));
    QTest::mouseClick(driver.find<QPushButton>(QStringLiteral("changeButton")), Qt::LeftButton);
    clickRadio(driver, QStringLiteral("metricRadioButton"));
    QCOMPARE(shownUnits(), QStringList({"km", "kcal", "km/h", "km/h", "m", "m", "m", "bpm", "bpm", "rpm", "rpm"}));
}

void ChangeValuesPageTest::typingIsLimitedToTheField_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");

    // Within the record and the FIT file: its fields hold one less than the full 8 or 16 bits.
    QTest::newRow("heart rate 300 (8 bits)") << "hrAvgEdit" << "300" << "30";
    QTest::newRow("heart rate 254") << "hrMaxEdit" << "254" << "254";
    QTest::newRow("heart rate 255") << "hrMaxEdit" << "255" << "25";
    QTest::newRow("cadence 254") << "cadAvgEdit" << "254" << "254";
    QTest::newRow("cadence 255") << "cadMaxEdit" << "255" << "25";
    QTest::newRow("kcal 65534") << "kcalEdit" << "65534" << "65534";
    QTest::newRow("kcal 65535") << "kcalEdit" << "65535" << "6553";
    QTest::newRow("kcal 70000") << "kcalEdit" << "70000" << "7000";
    QTest::newRow("distance 4294.967 km") << "distanceEdit" << "4294.967" << "4294.967";
    QTest::newRow("distance 4294.968 km") << "distanceEdit" << "4294.968" << "4294.96";
    QTest::newRow("distance 9999 km") << "distanceEdit" << "9999.5" << "999.5";
    QTest::newRow("speed pattern") << "avgSpeedEdit" << "123.56" << "123.5";
    QTest::newRow("speed 235.9 km/h") << "maxSpeedEdit" << "235.9" << "235.9";
    QTest::newRow("speed 250.0 km/h") << "maxSpeedEdit" << "250.0" << "25.0";
    QTest::newRow("altitude 12606 m") << "altMaxEdit" << "12606.9" << "12606.9";
    QTest::newRow("altitude 12607 m") << "altMaxEdit" << "12607.0" << "1260.0";
    QTest::newRow("altitude gain over 999 m") << "altGainEdit" << "1480.5" << "1480.5";
    QTest::newRow("altitude gain 65535 m") << "altGainEdit" << "65535.0" << "6553.0";
    QTest::newRow("letters") << "kcalEdit" << "12a3" << "123";
}

void ChangeValuesPageTest::typingIsLimitedToTheField()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, kept);

    SimulatedBikeComputer device{0x23};
    ModelData values = device.values();
    values.unitSystem = 0;
    device.setValues(values);
    WizardDriver driver;
    QVERIFY(openValuesPage(driver, device, true));
    QTest::mouseClick(driver.find<QPushButton>(QStringLiteral("changeButton")), Qt::LeftButton);
    retype(edit(driver, field), typed);
    QCOMPARE(edit(driver, field)->text(), kept);
}

void ChangeValuesPageTest::limitFollowsUnitSystem()
{
    SimulatedBikeComputer device{0x23};
    ModelData values = device.values();
    values.unitSystem = 0;
    device.setValues(values);
    WizardDriver driver;
    QVERIFY(openValuesPage(driver, device, true));
    QTest::mouseClick(driver.find<QPushButton>(QStringLiteral("changeButton")), Qt::LeftButton);
    QLineEdit *distance = edit(driver, QStringLiteral("distanceEdit"));

    // 3000 km fit 32 bits of millimetres; 3000 miles (4828 km) do not.
    retype(distance, QStringLiteral("3000.0"));
    QCOMPARE(distance->text(), QStringLiteral("3000.0"));
    clickRadio(driver, QStringLiteral("imperialRadioButton"));
    retype(distance, QStringLiteral("3000.0"));
    QCOMPARE(distance->text(), QStringLiteral("300.0"));
    retype(distance, QStringLiteral("2668.0"));
    QCOMPARE(distance->text(), QStringLiteral("2668.0"));
    QVERIFY(driver.press(QWizard::NextButton));
    QCOMPARE(driver.connection().getData()->bikes[0].dailyDistance, quint32(2668.0 * 1609344.0));
}

void ChangeValuesPageTest::valuesBeyondTheFieldDoNotWrap()
{
    SimulatedBikeComputer device{0x51};
    WizardDriver driver;
    QVERIFY(openValuesPage(driver, device, true));
    // Text put in without typing (as a paste that bypassed the keys would) is kept within the field.
    edit(driver, QStringLiteral("hrAvgEdit"))->setText(QStringLiteral("300"));
    edit(driver, QStringLiteral("cadMaxEdit"))->setText(QStringLiteral("70000"));
    edit(driver, QStringLiteral("kcalEdit"))->setText(QStringLiteral("99999999999999999999999"));
    edit(driver, QStringLiteral("altMaxEdit"))->setText(QStringLiteral("99999.0"));
    edit(driver, QStringLiteral("distanceEdit"))->setText(QStringLiteral("5000.000"));
    QVERIFY(driver.press(QWizard::NextButton));
    const ModelData *record = driver.connection().getData();
    QCOMPARE(int(record->avgHeartRate), 255);
    QCOMPARE(int(record->bikes[0].maxCadence), 65535);
    QCOMPARE(record->dailyCalories, 4294967295u);
    QCOMPARE(int(record->bikes[0].maxAlt), 65535);
    QCOMPARE(record->bikes[0].dailyDistance, 4294967295u);
}

void ChangeValuesPageTest::rideTimeIsATimeOfDay_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<int>("storedSeconds");

    const int unchanged = 1 * 3600 + 52 * 60 + 37;
    QTest::newRow("two-digit parts") << "02:03:04" << "02:03:04" << 7384;
    QTest::newRow("one-digit parts") << "2:3:4" << "2:3:4" << 7384;
    QTest::newRow("23:59:59") << "23:59:59" << "23:59:59" << 86399;
    QTest::newRow("hour 24 refused") << "24:00:00" << "2:00:00" << 7200;
    QTest::newRow("minute 60 refused") << "12:60:00" << "12:6:00" << 43560;
    QTest::newRow("second 75 refused") << "00:10:75" << "00:10:7" << 607;
    QTest::newRow("three digits refused") << "123:00:00" << "12:00:00" << 43200;
    QTest::newRow("incomplete keeps the stored time") << "12:3" << "12:3" << unchanged;
    QTest::newRow("empty keeps the stored time") << "" << "" << unchanged;
}

void ChangeValuesPageTest::rideTimeIsATimeOfDay()
{
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QFETCH(int, storedSeconds);

    SimulatedBikeComputer device{0x21};
    ModelData values = device.values();
    putOnBike(values.bikes[0], figures);
    device.setValues(values);
    WizardDriver driver;
    QVERIFY(openValuesPage(driver, device, true));
    QTest::mouseClick(driver.find<QPushButton>(QStringLiteral("changeButton")), Qt::LeftButton);
    QLineEdit *rideTime = edit(driver, QStringLiteral("rideTimeEdit"));
    QCOMPARE(rideTime->text(), QStringLiteral("01:52:37"));
    retype(rideTime, typed);
    QCOMPARE(rideTime->text(), kept);
    QVERIFY(driver.press(QWizard::NextButton));
    const Bike &bike = driver.connection().getData()->bikes[0];
    QCOMPARE(bike.rideTimeHour * 3600 + bike.rideTimeMin * 60 + bike.rideTimeSec, storedSeconds);
}

void ChangeValuesPageTest::longRideTimeIsKept()
{
    SimulatedBikeComputer device{0x22};
    ModelData values = device.values();
    putOnBike(values.bikes[1], otherBike);
    values.bikes[1].rideTimeHour = 25;
    values.bikes[1].rideTimeMin = 10;
    values.bikes[1].rideTimeSec = 0;
    device.setValues(values);
    WizardDriver driver;
    QVERIFY(openValuesPage(driver, device, false));
    QCOMPARE(edit(driver, QStringLiteral("rideTimeEdit"))->text(), QStringLiteral("25:10:00"));
    QVERIFY(driver.press(QWizard::NextButton));
    const Bike &bike = driver.connection().getData()->bikes[1];
    QCOMPARE(int(bike.rideTimeHour), 25);
    QCOMPARE(int(bike.rideTimeMin), 10);
}

void ChangeValuesPageTest::emptyFieldsStoreZero()
{
    SimulatedBikeComputer device{0x23};
    ModelData values = device.values();
    putOnBike(values.bikes[0], figures);
    device.setValues(values);
    WizardDriver driver;
    QVERIFY(openValuesPage(driver, device, true));
    QTest::mouseClick(driver.find<QPushButton>(QStringLiteral("changeButton")), Qt::LeftButton);
    retype(edit(driver, QStringLiteral("avgSpeedEdit")), QString());
    retype(edit(driver, QStringLiteral("cadAvgEdit")), QString());
    retype(edit(driver, QStringLiteral("maxSpeedEdit")), QStringLiteral("."));
    QVERIFY(driver.press(QWizard::NextButton));
    const Bike &bike = driver.connection().getData()->bikes[0];
    QCOMPARE(int(bike.avgSpeed), 0);
    QCOMPARE(int(bike.maxSpeed), 0);
    QCOMPARE(int(bike.avgCadence), 0);
    QCOMPARE(bike.dailyDistance, 12345678u);
}

QTEST_MAIN(ChangeValuesPageTest)
#include "tst_changevaluespage.moc"
