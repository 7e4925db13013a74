// SPDX-License-Identifier: GPL-3.0-or-later
#include "linkhub/BridgeDiagnosis.h"

#include "linkhub/private/UdevRules.h"

#include <QDir>
#include <QFile>

#include <optional>

namespace {
int hexAttribute(const QDir &folder, const char *name)
{
    QFile file(folder.filePath(QLatin1String(name)));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    bool ok = false;
    const int value = QString::fromLatin1(file.readAll()).trimmed().toInt(&ok, 16);
    return ok ? value : 0;
}

/// The rules file of the braille display service that matches the bridge: its current rules name
/// the device by the udev product key ("403/6001/*"), older ones by the USB id attributes.
QString brlttyRulesFor(const UdevRules &rules, const UsbBridge &bridge)
{
    const QString product = QStringLiteral("%1/%2/").arg(bridge.vendorId, 0, 16).arg(bridge.productId, 0, 16);
    const QString byProduct = rules.fileWithLineContaining({QStringLiteral("brltty"), product});
    if (!byProduct.isEmpty())
        return byProduct;
    const QString vendor = QStringLiteral("idVendor}==\"%1\"").arg(bridge.vendorId, 4, 16, QLatin1Char('0'));
    const QString model = QStringLiteral("idProduct}==\"%1\"").arg(bridge.productId, 4, 16, QLatin1Char('0'));
    return rules.fileWithLineContaining({QStringLiteral("brltty"), vendor, model});
}
}

BridgeDiagnosis::BridgeDiagnosis(const SystemFiles &files) : m_files(files) {}

bool BridgeDiagnosis::hasSerialPort(const QString &usbDevice)
{
    // The serial port hangs below one of the device's interfaces ("1-2:1.0/ttyUSB0").
    const QDir device(usbDevice);
    const QStringList interfaces =
        device.entryList({device.dirName() + QStringLiteral(":*")}, QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &interface : interfaces) {
        if (!QDir(device.filePath(interface)).entryList({QStringLiteral("tty*")}, QDir::Dirs | QDir::NoDotAndDotDot).isEmpty())
            return true;
    }
    return false;
}

QList<BridgeDiagnosis::Stranded> BridgeDiagnosis::strandedBridges() const
{
    QList<Stranded> stranded;
    const QDir bus(m_files.sysfs() + QStringLiteral("/bus/usb/devices"));
    const QStringList devices = bus.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    std::optional<UdevRules> rules;
    for (const QString &name : devices) {
        const QDir device(bus.filePath(name));
        const UsbBridge *bridge = UsbBridge::find(hexAttribute(device, "idVendor"), hexAttribute(device, "idProduct"));
        if (!bridge || hasSerialPort(device.path()))
            continue;
        if (!rules)
            rules.emplace(m_files.rulesFolders());
        stranded.append({bridge, device.path(), brlttyRulesFor(*rules, *bridge)});
    }
    return stranded;
}

QString BridgeDiagnosis::describe(const Stranded &stranded)
{
    const QString bridge = QLatin1String(stranded.bridge->name);
    const QString ids = stranded.bridge->usbIds();
    if (!stranded.brlttyRules.isEmpty())
        return tr("The %1 (USB %2) is plugged in but has no serial port: the braille display service brltty has "
                  "taken it, as its rules in %3 tell it to. Without a braille display, remove the package "
                  "(sudo apt remove brltty); with one, copy %3 to /etc/udev/rules.d and put a # before the rule "
                  "for %2 there. Then plug the cable in again.")
            .arg(bridge, ids, stranded.brlttyRules);
    const QString driver = QLatin1String(stranded.bridge->driver);
    return tr("The %1 (USB %2) is plugged in but has no serial port: the kernel driver %3 is missing or not "
              "loaded. Load it (sudo modprobe %3), or install the kernel's extra modules if the system has none "
              "by that name, then plug the cable in again.")
        .arg(bridge, ids, driver);
}

QString BridgeDiagnosis::explanation() const
{
    QStringList sentences;
    for (const Stranded &stranded : strandedBridges())
        sentences.append(describe(stranded));
    return sentences.join(QLatin1Char(' '));
}

bool BridgeDiagnosis::hasAccessRule() const
{
    return UdevRules(m_files.rulesFolders())
        .fileHasLineContaining(QLatin1String(AccessRuleFile), {QStringLiteral("TAG+=\"uaccess\"")});
}
