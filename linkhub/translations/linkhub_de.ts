<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>BridgeDiagnosis</name>
    <message>
        <source>The %1 (USB %2) is plugged in but has no serial port: the braille display service brltty has taken it, as its rules in %3 tell it to. Without a braille display, remove the package (sudo apt remove brltty); with one, copy %3 to /etc/udev/rules.d and put a # before the rule for %2 there. Then plug the cable in again.</source>
        <translation>Der %1 (USB %2) ist eingesteckt, hat aber keinen seriellen Anschluss: Der Braillezeilen-Dienst brltty hat ihn belegt, wie es seine Regeln in %3 vorsehen. Ohne Braillezeile entfernen Sie das Paket (sudo apt remove brltty); mit einer kopieren Sie %3 nach /etc/udev/rules.d und setzen dort ein # vor die Regel für %2. Stecken Sie dann das Kabel erneut ein.</translation>
    </message>
    <message>
        <source>The %1 (USB %2) is plugged in but has no serial port: the kernel driver %3 is missing or not loaded. Load it (sudo modprobe %3), or install the kernel&apos;s extra modules if the system has none by that name, then plug the cable in again.</source>
        <translation>Der %1 (USB %2) ist eingesteckt, hat aber keinen seriellen Anschluss: Der Kerneltreiber %3 fehlt oder ist nicht geladen. Laden Sie ihn (sudo modprobe %3) oder installieren Sie die zusätzlichen Module des Kernels, falls das System keinen Treiber dieses Namens hat, und stecken Sie dann das Kabel erneut ein.</translation>
    </message>
</context>
<context>
    <name>PortDiagnosis</name>
    <message>
        <source>There is no port %1: check the cable and the port name.</source>
        <translation>Es gibt keinen Anschluss %1: Prüfen Sie das Kabel und den Namen des Anschlusses.</translation>
    </message>
    <message>
        <source>%1 is busy: close the other program that uses it and try again.</source>
        <translation>%1 ist belegt: Schließen Sie das andere Programm, das ihn verwendet, und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>%1 did not open as a serial port: check the port name.</source>
        <translation>%1 ließ sich nicht als serieller Anschluss öffnen: Prüfen Sie den Namen des Anschlusses.</translation>
    </message>
    <message>
        <source>No permission to use %1: unplug the cable and plug it in again once, so that the access rule installed with Pacerow applies; or ask for access to the port.</source>
        <translation>Keine Berechtigung für %1: Ziehen Sie das Kabel einmal ab und stecken Sie es wieder ein, damit die mit Pacerow installierte Zugriffsregel greift; oder bitten Sie um Zugriff auf den Anschluss.</translation>
    </message>
    <message>
        <source>No permission to use %1: unplug the cable and plug it in again once, so that the access rule installed with Pacerow applies; or join the group &quot;%2&quot; (sudo usermod -aG %2 $USER) and log in again.</source>
        <translation>Keine Berechtigung für %1: Ziehen Sie das Kabel einmal ab und stecken Sie es wieder ein, damit die mit Pacerow installierte Zugriffsregel greift; oder treten Sie der Gruppe „%2“ bei (sudo usermod -aG %2 $USER) und melden Sie sich neu an.</translation>
    </message>
    <message>
        <source>No permission to use %1: ask for access to the port.</source>
        <translation>Keine Berechtigung für %1: Bitten Sie um Zugriff auf den Anschluss.</translation>
    </message>
    <message>
        <source>No permission to use %1: join the group &quot;%2&quot; (sudo usermod -aG %2 $USER) and log in again.</source>
        <translation>Keine Berechtigung für %1: Treten Sie der Gruppe „%2“ bei (sudo usermod -aG %2 $USER) und melden Sie sich neu an.</translation>
    </message>
    <message>
        <source>No serial port behind a supported USB bridge was found. Check the cable and that the bridge&apos;s driver is loaded; on Linux, also that your user belongs to the group that owns the serial devices (usually &quot;dialout&quot;).</source>
        <translation>Es wurde kein serieller Anschluss hinter einem unterstützten USB-Adapter gefunden. Prüfen Sie das Kabel und ob der Treiber des Adapters geladen ist; unter Linux auch, ob Ihr Benutzer zu der Gruppe gehört, der die seriellen Geräte gehören (meist „dialout“).</translation>
    </message>
</context>
<context>
    <name>ReadProgress</name>
    <message>
        <source>altitude and temperature</source>
        <translation>Höhe und Temperatur</translation>
    </message>
    <message>
        <source>current bike</source>
        <translation>aktuelles Rad</translation>
    </message>
    <message>
        <source>heart rate and energy</source>
        <translation>Herzfrequenz und Kalorien</translation>
    </message>
    <message>
        <source>clock</source>
        <translation>Uhr</translation>
    </message>
    <message>
        <source>bike 1</source>
        <translation>Rad 1</translation>
    </message>
    <message>
        <source>bike 2</source>
        <translation>Rad 2</translation>
    </message>
    <message>
        <source>bike extras</source>
        <translation>Zusatzwerte der Räder</translation>
    </message>
    <message>
        <source>firmware version</source>
        <translation>Firmware-Version</translation>
    </message>
    <message>
        <source>model option</source>
        <translation>Modelloption</translation>
    </message>
    <message>
        <source>block %1</source>
        <translation>Block %1</translation>
    </message>
</context>
<context>
    <name>UsbBridge</name>
    <message>
        <source>The list shows the ports of the bridges %1 (USB %2) and %3 (USB %4).</source>
        <translation>Die Liste zeigt die Anschlüsse der Adapter %1 (USB %2) und %3 (USB %4).</translation>
    </message>
</context>
</TS>
