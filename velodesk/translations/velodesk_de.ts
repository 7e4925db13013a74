<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>BikeTabPage</name>
    <message>
        <source>Daily distance:</source>
        <translation>Tagesstrecke:</translation>
    </message>
    <message>
        <source>1</source>
        <translation>1</translation>
    </message>
    <message>
        <source>km</source>
        <translation>km</translation>
    </message>
    <message>
        <source>Total distance:</source>
        <translation>Gesamtstrecke:</translation>
    </message>
    <message>
        <source>0</source>
        <translation>0</translation>
    </message>
    <message>
        <source>Ride Time:</source>
        <translation>Fahrzeit:</translation>
    </message>
    <message>
        <source>HH:mm:ss</source>
        <translation>HH:mm:ss</translation>
    </message>
    <message>
        <source>Avg. Speed:</source>
        <translation>Durchschnittsgeschwindigkeit:</translation>
    </message>
    <message>
        <source>Max. Speed:</source>
        <translation>Höchstgeschwindigkeit:</translation>
    </message>
    <message>
        <source>Altitude Gain:</source>
        <translation>Höhenmeter bergauf:</translation>
    </message>
    <message>
        <source>Altitude Loss:</source>
        <translation>Höhenmeter bergab:</translation>
    </message>
    <message>
        <source>Maximun Altitude:</source>
        <translation>Maximale Höhe:</translation>
    </message>
    <message>
        <source> km/h</source>
        <translation> km/h</translation>
    </message>
    <message>
        <source> m</source>
        <translation> m</translation>
    </message>
    <message>
        <source>mi</source>
        <translation>mi</translation>
    </message>
</context>
<context>
    <name>ChangeValuesPage</name>
    <message>
        <source>Values</source>
        <translation>Werte</translation>
    </message>
    <message>
        <source>Date:</source>
        <translation>Datum:</translation>
    </message>
    <message>
        <source>metric</source>
        <translation>metrisch</translation>
    </message>
    <message>
        <source>Time:</source>
        <translation>Uhrzeit:</translation>
    </message>
    <message>
        <source>imperial</source>
        <translation>imperial</translation>
    </message>
    <message>
        <source>Ride Time:</source>
        <translation>Fahrzeit:</translation>
    </message>
    <message>
        <source>Distance (daily):</source>
        <translation>Tagesstrecke:</translation>
    </message>
    <message>
        <source>km</source>
        <translation>km</translation>
    </message>
    <message>
        <source>kcal:</source>
        <translation>Kalorien:</translation>
    </message>
    <message>
        <source>kcal</source>
        <translation>kcal</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Geschwindigkeit</translation>
    </message>
    <message>
        <source>Avg:</source>
        <translation>Durchschnitt:</translation>
    </message>
    <message>
        <source>km/h</source>
        <translation>km/h</translation>
    </message>
    <message>
        <source>Max:</source>
        <translation>Maximum:</translation>
    </message>
    <message>
        <source>Altitude</source>
        <translation>Höhe</translation>
    </message>
    <message>
        <source>Gain:</source>
        <translation>Bergauf:</translation>
    </message>
    <message>
        <source>m</source>
        <translation>m</translation>
    </message>
    <message>
        <source>Loss:</source>
        <translation>Bergab:</translation>
    </message>
    <message>
        <source>HR</source>
        <translation>Herzfrequenz</translation>
    </message>
    <message>
        <source>bpm</source>
        <translation>S/min</translation>
    </message>
    <message>
        <source>CAD</source>
        <translation>Trittfrequenz</translation>
    </message>
    <message>
        <source>rpm</source>
        <translation>U/min</translation>
    </message>
    <message>
        <source>Change Values</source>
        <translation>Werte ändern</translation>
    </message>
    <message>
        <source>mi</source>
        <translation>mi</translation>
    </message>
    <message>
        <source>mph</source>
        <translation>mph</translation>
    </message>
    <message>
        <source>ft</source>
        <translation>ft</translation>
    </message>
</context>
<context>
    <name>ChooseFilePage</name>
    <message>
        <source>Export to file</source>
        <translation>In eine Datei exportieren</translation>
    </message>
    <message>
        <source>Please choose an output path and a file name in order to export the fit file.</source>
        <translation>Bitte wählen Sie einen Ordner und einen Dateinamen für die Exportdatei.</translation>
    </message>
    <message>
        <source>Output:</source>
        <translation>Ziel:</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Durchsuchen</translation>
    </message>
    <message>
        <source>Fit Files (*.fit)</source>
        <translation>FIT-Dateien (*.fit)</translation>
    </message>
    <message>
        <source>csv Files (*.csv)</source>
        <translation>CSV-Dateien (*.csv)</translation>
    </message>
    <message>
        <source>Export File</source>
        <translation>Datei exportieren</translation>
    </message>
</context>
<context>
    <name>ComPortPage</name>
    <message>
        <source>Connect to computer</source>
        <translation>Mit dem Fahrradcomputer verbinden</translation>
    </message>
    <message>
        <source>Please choose the COM Port where your computer is connected to. After successfully connected you can click on the next button.</source>
        <translation>Bitte wählen Sie den Anschluss, an dem Ihr Fahrradcomputer angeschlossen ist. Sobald die Verbindung besteht, können Sie auf „Weiter“ klicken.</translation>
    </message>
    <message>
        <source>COM-ports:</source>
        <translation>Anschlüsse:</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>Not Connected</source>
        <translation>Nicht verbunden</translation>
    </message>
    <message>
        <source>Connect to Device</source>
        <translation>Verbinden</translation>
    </message>
    <message>
        <source>Device Model:</source>
        <translation>Modell:</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keines</translation>
    </message>
</context>
<context>
    <name>ConnectionStatus</name>
    <message>
        <source>Failed to open connection</source>
        <comment>Connection Error</comment>
        <translation>Die Verbindung konnte nicht geöffnet werden</translation>
    </message>
    <message>
        <source>Unknown device type</source>
        <comment>Connection Error</comment>
        <translation>Unbekannter Fahrradcomputer</translation>
    </message>
    <message>
        <source>Connection lost</source>
        <comment>Connection Error</comment>
        <translation>Verbindung unterbrochen</translation>
    </message>
    <message>
        <source>Connection closed</source>
        <comment>Connection State</comment>
        <translation>Verbindung geschlossen</translation>
    </message>
    <message>
        <source>Connection opening...</source>
        <comment>Connection State</comment>
        <translation>Verbindung wird geöffnet …</translation>
    </message>
    <message>
        <source>Waiting for answer...</source>
        <comment>Connection State</comment>
        <translation>Warten auf Antwort …</translation>
    </message>
    <message>
        <source>Connected</source>
        <comment>Connection State</comment>
        <translation>Verbunden</translation>
    </message>
    <message>
        <source>Connection closing...</source>
        <comment>Connection State</comment>
        <translation>Verbindung wird geschlossen …</translation>
    </message>
    <message>
        <source>Connection error</source>
        <comment>Connection State</comment>
        <translation>Verbindungsfehler</translation>
    </message>
</context>
<context>
    <name>DateTimeChoosePage</name>
    <message>
        <source>Choose Date and Time</source>
        <translation>Datum und Uhrzeit wählen</translation>
    </message>
    <message>
        <source>Please choose the date and the time your ride was. Please choose also if you want to export the data from bike one or two!</source>
        <translation>Bitte wählen Sie Datum und Uhrzeit Ihrer Fahrt. Wählen Sie außerdem, ob Sie die Werte von Rad 1 oder Rad 2 exportieren möchten.</translation>
    </message>
    <message>
        <source>Date:</source>
        <translation>Datum:</translation>
    </message>
    <message>
        <source>Time:</source>
        <translation>Uhrzeit:</translation>
    </message>
    <message>
        <source>HH:mm:ss</source>
        <translation>HH:mm:ss</translation>
    </message>
    <message>
        <source>Bike 1</source>
        <translation>Rad 1</translation>
    </message>
    <message>
        <source>Bike 2</source>
        <translation>Rad 2</translation>
    </message>
</context>
<context>
    <name>DeviceAcceptance</name>
    <message>
        <source>Device unsupported</source>
        <translation>Fahrradcomputer nicht unterstützt</translation>
    </message>
    <message>
        <source>This device is not supported!</source>
        <translation>Dieser Fahrradcomputer wird nicht unterstützt.</translation>
    </message>
    <message>
        <source>Found: %1 (model id %2). Supported: %3.</source>
        <translation>Gefunden: %1 (Modellkennung %2). Unterstützt: %3.</translation>
    </message>
    <message>
        <source>Firmware unsupported</source>
        <translation>Firmware nicht unterstützt</translation>
    </message>
    <message>
        <source>The device firmware is not supported by this Application!
Please update your device with the Tunedock tool!</source>
        <translation>Die Firmware des Fahrradcomputers wird von diesem Programm nicht unterstützt.
Bitte aktualisieren Sie Ihren Fahrradcomputer mit dem Programm Tunedock.</translation>
    </message>
    <message>
        <source>Found firmware version %1; the %2 needs version %3 or later.</source>
        <translation>Gefunden: Firmware-Version %1; der %2 braucht Version %3 oder neuer.</translation>
    </message>
</context>
<context>
    <name>DoneNotification</name>
    <message>
        <source>Open folder</source>
        <translation>Ordner öffnen</translation>
    </message>
    <message>
        <source>Ride exported</source>
        <translation>Fahrt exportiert</translation>
    </message>
    <message>
        <source>Written to %1</source>
        <translation>Gespeichert in %1</translation>
    </message>
</context>
<context>
    <name>ExportFailure</name>
    <message>
        <source>Exporting failed</source>
        <translation>Export fehlgeschlagen</translation>
    </message>
    <message>
        <source>There was a problem exporting the file. Please make sure that you have sufficient rights and that no other application is currently using the file.</source>
        <translation>Beim Exportieren der Datei ist ein Fehler aufgetreten. Bitte stellen Sie sicher, dass Sie die nötigen Rechte haben und dass kein anderes Programm die Datei gerade verwendet.</translation>
    </message>
    <message>
        <source>%1 could not be written.</source>
        <translation>%1 konnte nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>%1 could not be written: %2.</source>
        <translation>%1 konnte nicht geschrieben werden: %2.</translation>
    </message>
</context>
<context>
    <name>ExportTypePage</name>
    <message>
        <source>Export Type</source>
        <translation>Exportart</translation>
    </message>
    <message>
        <source>Please choose between th export to a file onto your local machine or an upload onto a portal.</source>
        <translation>Bitte wählen Sie, ob Sie in eine Datei auf diesem Rechner exportieren oder auf ein Portal hochladen möchten.</translation>
    </message>
    <message>
        <source>Export to File</source>
        <translation>In eine Datei exportieren</translation>
    </message>
    <message>
        <source>Upload</source>
        <translation>Hochladen</translation>
    </message>
</context>
<context>
    <name>ExportWizard</name>
    <message>
        <source>Velquist Agent</source>
        <translation>Velquist Agent</translation>
    </message>
</context>
<context>
    <name>IntroPage</name>
    <message>
        <source>Introduction</source>
        <translation>Einführung</translation>
    </message>
    <message>
        <source>Welcome to the Velquist FIT Export. With this tool you can easily export your stuff into a FIT File.</source>
        <translation>Willkommen beim Velquist FIT Export. Mit diesem Programm exportieren Sie die Werte Ihres Fahrradcomputers einfach in eine FIT-Datei.</translation>
    </message>
    <message>
        <source>Please click the next button to begin.</source>
        <translation>Bitte klicken Sie auf „Weiter“, um zu beginnen.</translation>
    </message>
    <message>
        <source>Show this page on next startup.</source>
        <translation>Diese Seite beim nächsten Start anzeigen.</translation>
    </message>
</context>
<context>
    <name>LeftOutWarning</name>
    <message>
        <source>Values left out</source>
        <translation>Werte ausgelassen</translation>
    </message>
    <message>
        <source>Some values are beyond what a FIT file can hold. The file is written without them.</source>
        <translation>Einige Werte liegen außerhalb dessen, was eine FIT-Datei aufnehmen kann. Die Datei wird ohne sie geschrieben.</translation>
    </message>
</context>
<context>
    <name>LogbookRecording</name>
    <message>
        <source>Ride not kept in the logbook</source>
        <translation>Fahrt nicht ins Fahrtenbuch übernommen</translation>
    </message>
    <message>
        <source>The ride was exported, but it could not be kept in the logbook.
%1</source>
        <translation>Die Fahrt wurde exportiert, konnte aber nicht ins Fahrtenbuch übernommen werden.
%1</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Velquist Pacerow</source>
        <translation>Velquist Pacerow</translation>
    </message>
    <message>
        <source>COM-ports:</source>
        <translation>Anschlüsse:</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>Port closed</source>
        <translation>Anschluss geschlossen</translation>
    </message>
    <message>
        <source>Connect to Device</source>
        <translation>Verbinden</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation>Trennen</translation>
    </message>
    <message>
        <source>Device Model:</source>
        <translation>Modell:</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keines</translation>
    </message>
    <message>
        <source>Bike 1</source>
        <translation>Rad 1</translation>
    </message>
    <message>
        <source>Bike 2</source>
        <translation>Rad 2</translation>
    </message>
    <message>
        <source>&amp;Export</source>
        <translation>&amp;Exportieren</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Date:</source>
        <translation>Datum:</translation>
    </message>
    <message>
        <source>Time:</source>
        <translation>Uhrzeit:</translation>
    </message>
    <message>
        <source>HH:mm:ss</source>
        <translation>HH:mm:ss</translation>
    </message>
    <message>
        <source>Altitude</source>
        <translation>Höhe</translation>
    </message>
    <message>
        <source>Max. Temperature:</source>
        <translation>Höchsttemperatur:</translation>
    </message>
    <message>
        <source>Min. Temperature:</source>
        <translation>Tiefsttemperatur:</translation>
    </message>
    <message>
        <source>Altitude Gain:</source>
        <translation>Höhenmeter bergauf:</translation>
    </message>
    <message>
        <source>Altitude Loss:</source>
        <translation>Höhenmeter bergab:</translation>
    </message>
    <message>
        <source>Maximun Altitude:</source>
        <translation>Maximale Höhe:</translation>
    </message>
    <message>
        <source>Asc. Avg. Gradient:</source>
        <translation>Durchschnittliche Steigung:</translation>
    </message>
    <message>
        <source>Asc. Max. Gardient:</source>
        <translation>Maximale Steigung:</translation>
    </message>
    <message>
        <source>Desc. Avg. Gradient:</source>
        <translation>Durchschnittliches Gefälle:</translation>
    </message>
    <message>
        <source>Desc. Max Gradient:</source>
        <translation>Maximales Gefälle:</translation>
    </message>
    <message>
        <source>Asc. Avg. Vario:</source>
        <translation>Durchschnittliche Steiggeschwindigkeit:</translation>
    </message>
    <message>
        <source>Asc. Max. Vario:</source>
        <translation>Maximale Steiggeschwindigkeit:</translation>
    </message>
    <message>
        <source>Desc. Avg. Vario:</source>
        <translation>Durchschnittliche Sinkgeschwindigkeit:</translation>
    </message>
    <message>
        <source>Desc. Max. Vario:</source>
        <translation>Maximale Sinkgeschwindigkeit:</translation>
    </message>
    <message>
        <source>Heart Rate</source>
        <translation>Herzfrequenz</translation>
    </message>
    <message>
        <source>Avg. heart rate:</source>
        <translation>Durchschnittliche Herzfrequenz:</translation>
    </message>
    <message>
        <source>Max. heart rate:</source>
        <translation>Maximale Herzfrequenz:</translation>
    </message>
    <message>
        <source>Calories:</source>
        <translation>Kalorien:</translation>
    </message>
    <message>
        <source>Lower Zone:</source>
        <translation>Unter der Zone:</translation>
    </message>
    <message>
        <source>In Zone:</source>
        <translation>In der Zone:</translation>
    </message>
    <message>
        <source>Upper Zone:</source>
        <translation>Über der Zone:</translation>
    </message>
    <message>
        <source>Bikes</source>
        <translation>Räder</translation>
    </message>
    <message>
        <source>Bike %0</source>
        <translation>Rad %0</translation>
    </message>
    <message>
        <source> °C</source>
        <translation> °C</translation>
    </message>
    <message>
        <source> m</source>
        <translation> m</translation>
    </message>
    <message>
        <source> %</source>
        <translation> %</translation>
    </message>
    <message>
        <source> m/h</source>
        <translation> m/h</translation>
    </message>
    <message>
        <source> bpm</source>
        <translation> S/min</translation>
    </message>
    <message>
        <source> kcal</source>
        <translation> kcal</translation>
    </message>
    <message>
        <source>None</source>
        <comment>Device model</comment>
        <translation>Keines</translation>
    </message>
    <message>
        <source>Save to FIT</source>
        <translation>Als FIT-Datei speichern</translation>
    </message>
    <message>
        <source>Fit files (*.fit)</source>
        <translation>FIT-Dateien (*.fit)</translation>
    </message>
    <message>
        <source>Written to %1</source>
        <translation>Gespeichert in %1</translation>
    </message>
</context>
<context>
    <name>PortBox</name>
    <message>
        <source>Port name</source>
        <translation>Name des Anschlusses</translation>
    </message>
    <message>
        <source>The port of another bridge can be typed into the box.</source>
        <translation>Den Anschluss eines anderen Adapters können Sie in das Feld eingeben.</translation>
    </message>
    <message>
        <source>Nothing to connect to: no port is listed or typed. Plug in the cable, or type the port&apos;s name.</source>
        <translation>Nichts zu verbinden: Es ist kein Anschluss aufgeführt oder eingegeben. Stecken Sie das Kabel ein oder geben Sie den Namen des Anschlusses ein.</translation>
    </message>
</context>
<context>
    <name>Startup</name>
    <message>
        <source>Transfer log</source>
        <translation>Übertragungsprotokoll</translation>
    </message>
    <message>
        <source>The transfer log %1 cannot be written: %2.
The program runs without it; choose a file in a folder you may write to.</source>
        <translation>Das Übertragungsprotokoll %1 kann nicht geschrieben werden: %2.
Das Programm läuft ohne es weiter; wählen Sie eine Datei in einem Ordner, in den Sie schreiben dürfen.</translation>
    </message>
</context>
<context>
    <name>UploadPage</name>
    <message>
        <source>Upload</source>
        <translation>Hochladen</translation>
    </message>
    <message>
        <source>Please choose a portal to upload and specify your user name and password.</source>
        <translation>Bitte wählen Sie ein Portal zum Hochladen und geben Sie Ihren Benutzernamen und Ihr Passwort an.</translation>
    </message>
    <message>
        <source>Sportics</source>
        <translation>Sportics</translation>
    </message>
    <message>
        <source>foo</source>
        <translation>foo</translation>
    </message>
    <message>
        <source>bar</source>
        <translation>bar</translation>
    </message>
    <message>
        <source>Username:</source>
        <translation>Benutzername:</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
</context>
<context>
    <name>ValueReading</name>
    <message>
        <source>Not every value arrived; missing: %1. Connect again to read them.</source>
        <translation>Nicht alle Werte sind angekommen; es fehlen: %1. Verbinden Sie sich erneut, um sie zu lesen.</translation>
    </message>
    <message>
        <source>Reading the values (%1 of %2)...</source>
        <translation>Werte werden gelesen (%1 von %2) …</translation>
    </message>
</context>
</TS>
