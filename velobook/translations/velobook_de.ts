<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>BikesTab</name>
    <message>
        <source>Bikes</source>
        <translation>Räder</translation>
    </message>
    <message>
        <source>&amp;Bikes:</source>
        <translation>&amp;Räder:</translation>
    </message>
    <message>
        <source>Name of the bike</source>
        <translation>Name des Rads</translation>
    </message>
    <message>
        <source>e.g. Road bike</source>
        <translation>z. B. Rennrad</translation>
    </message>
    <message>
        <source>Serviced on</source>
        <translation>Gewartet am</translation>
    </message>
    <message>
        <source>Not yet</source>
        <translation>Noch nicht</translation>
    </message>
    <message>
        <source>Distance since the service</source>
        <translation>Strecke seit der Wartung</translation>
    </message>
    <message>
        <source>Odometer over time</source>
        <translation>Gesamtstrecke im Lauf der Zeit</translation>
    </message>
    <message>
        <source>The chosen bike</source>
        <translation>Das gewählte Rad</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>&amp;Serviced on:</source>
        <translation>&amp;Gewartet am:</translation>
    </message>
    <message>
        <source>Distance since:</source>
        <translation>Strecke seitdem:</translation>
    </message>
    <message>
        <source>Imported logs</source>
        <translation>Importierte Protokolle</translation>
    </message>
    <message>
        <source>%1, bike %2</source>
        <translation>%1, Rad %2</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>%1 %2</source>
        <translation>%1 %2</translation>
    </message>
    <message>
        <source>Odometer (%1)</source>
        <translation>Gesamtstrecke (%1)</translation>
    </message>
    <message>
        <source>Odometer</source>
        <translation>Gesamtstrecke</translation>
    </message>
    <message>
        <source>MMM yyyy</source>
        <comment>a month on the odometer chart&apos;s axis</comment>
        <translation>MMM yyyy</translation>
    </message>
    <message>
        <source>Pacerow Logbook</source>
        <translation>Pacerow Logbook</translation>
    </message>
</context>
<context>
    <name>DeleteRidesCommand</name>
    <message>
        <source>delete ride</source>
        <translation>Fahrt löschen</translation>
    </message>
    <message numerus="yes">
        <source>delete %n rides</source>
        <translation>
            <numerusform>%n Fahrt löschen</numerusform>
            <numerusform>%n Fahrten löschen</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ImportChoiceDialog</name>
    <message>
        <source>Import CSV logs</source>
        <translation>CSV-Protokolle importieren</translation>
    </message>
    <message>
        <source>Which bike and which bike computer are the rides of the log from?</source>
        <translation>Von welchem Rad und welchem Fahrradcomputer stammen die Fahrten des Protokolls?</translation>
    </message>
    <message numerus="yes">
        <source>Which bike and which bike computer are the rides of the %n logs from?</source>
        <translation>
            <numerusform>Von welchem Rad und welchem Fahrradcomputer stammen die Fahrten des %n Protokolls?</numerusform>
            <numerusform>Von welchem Rad und welchem Fahrradcomputer stammen die Fahrten der %n Protokolle?</numerusform>
        </translation>
    </message>
    <message>
        <source>Bike</source>
        <translation>Rad</translation>
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
        <source>Bike computer</source>
        <translation>Fahrradcomputer</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Unbekannt</translation>
    </message>
    <message>
        <source>&amp;Bike:</source>
        <translation>&amp;Rad:</translation>
    </message>
    <message>
        <source>Bike &amp;computer:</source>
        <translation>&amp;Fahrradcomputer:</translation>
    </message>
</context>
<context>
    <name>ImportReport</name>
    <message>
        <source>%1: %2 imported, %3 already in the logbook, %4 refused.</source>
        <translation>%1: %2 importiert, %3 schon im Fahrtenbuch, %4 abgelehnt.</translation>
    </message>
    <message>
        <source>%1, line %2: %3</source>
        <translation>%1, Zeile %2: %3</translation>
    </message>
    <message>
        <source>%1 cannot be read (%2): nothing of it was imported. Make sure the file is there and that you may read it.</source>
        <translation>%1 kann nicht gelesen werden (%2): Nichts davon wurde importiert. Stellen Sie sicher, dass die Datei vorhanden ist und dass Sie sie lesen dürfen.</translation>
    </message>
    <message>
        <source>%1: nothing of it was imported. %2</source>
        <translation>%1: Nichts davon wurde importiert. %2</translation>
    </message>
    <message>
        <source>Refused:</source>
        <translation>Abgelehnt:</translation>
    </message>
    <message>
        <source>and %1 more, listed in the details.</source>
        <translation>und %1 weitere, aufgeführt in den Details.</translation>
    </message>
</context>
<context>
    <name>LogbookWindow</name>
    <message>
        <source>Pacerow Logbook</source>
        <translation>Pacerow Logbook</translation>
    </message>
    <message>
        <source>Logbook</source>
        <translation>Fahrtenbuch</translation>
    </message>
    <message>
        <source>Views of the logbook</source>
        <translation>Ansichten des Fahrtenbuchs</translation>
    </message>
    <message>
        <source>Rides</source>
        <translation>Fahrten</translation>
    </message>
    <message>
        <source>Totals</source>
        <translation>Summen</translation>
    </message>
    <message>
        <source>Bikes</source>
        <translation>Räder</translation>
    </message>
    <message>
        <source>&amp;Read bike computer…</source>
        <translation>&amp;Fahrradcomputer auslesen …</translation>
    </message>
    <message>
        <source>Read bike computer</source>
        <translation>Fahrradcomputer auslesen</translation>
    </message>
    <message>
        <source>&amp;Import CSV logs…</source>
        <translation>CSV-Protokolle &amp;importieren …</translation>
    </message>
    <message>
        <source>Import CSV logs</source>
        <translation>CSV-Protokolle importieren</translation>
    </message>
    <message>
        <source>The logbook %1 holds no rides yet.

Rides get into it when you read your bike computer with the wizard: connect the computer and choose &quot;Read bike computer…&quot;. A CSV log that Pacerow wrote earlier can be imported with &quot;Import CSV logs…&quot;.</source>
        <translation>Das Fahrtenbuch %1 enthält noch keine Fahrten.

Fahrten werden eingetragen, wenn Sie Ihren Fahrradcomputer mit dem Assistenten auslesen: Schließen Sie den Fahrradcomputer an und wählen Sie „Fahrradcomputer auslesen …“. Ein CSV-Protokoll, das Pacerow früher geschrieben hat, importieren Sie mit „CSV-Protokolle importieren …“.</translation>
    </message>
    <message>
        <source>No rides yet</source>
        <translation>Noch keine Fahrten</translation>
    </message>
    <message>
        <source>Logbook not opened</source>
        <translation>Fahrtenbuch nicht geöffnet</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Find in notes</source>
        <translation>In Notizen &amp;suchen</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Kilometres</source>
        <translation>&amp;Kilometer</translation>
    </message>
    <message>
        <source>&amp;Miles</source>
        <translation>&amp;Meilen</translation>
    </message>
    <message>
        <source>The wizard (%1) could not be started. Check that Pacerow is installed completely, or start the wizard from the desktop menu.</source>
        <translation>Der Assistent (%1) konnte nicht gestartet werden. Prüfen Sie, ob Pacerow vollständig installiert ist, oder starten Sie den Assistenten aus dem Anwendungsmenü.</translation>
    </message>
</context>
<context>
    <name>NoteDialog</name>
    <message>
        <source>Edit note</source>
        <translation>Notiz bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Note on the ride of %1:</source>
        <translation>&amp;Notiz zur Fahrt vom %1:</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Notiz</translation>
    </message>
</context>
<context>
    <name>RideActions</name>
    <message>
        <source>&amp;Export ride…</source>
        <translation>Fahrt &amp;exportieren …</translation>
    </message>
    <message>
        <source>Write the selected ride to a FIT file or a CSV log</source>
        <translation>Die gewählte Fahrt in eine FIT-Datei oder ein CSV-Protokoll schreiben</translation>
    </message>
    <message>
        <source>Edit &amp;note…</source>
        <translation>&amp;Notiz bearbeiten …</translation>
    </message>
    <message>
        <source>Write or change the note of the selected ride</source>
        <translation>Die Notiz der gewählten Fahrt schreiben oder ändern</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>Delete the selected rides from the logbook</source>
        <translation>Die gewählten Fahrten aus dem Fahrtenbuch löschen</translation>
    </message>
    <message>
        <source>&amp;Import CSV logs…</source>
        <translation>CSV-Protokolle &amp;importieren …</translation>
    </message>
    <message>
        <source>Take the rides of CSV logs into the logbook</source>
        <translation>Die Fahrten aus CSV-Protokollen ins Fahrtenbuch übernehmen</translation>
    </message>
    <message>
        <source>Bring back the rides deleted last</source>
        <translation>Die zuletzt gelöschten Fahrten zurückholen</translation>
    </message>
    <message>
        <source>%1, bike %2, %3 %4</source>
        <translation>%1, Rad %2, %3 %4</translation>
    </message>
    <message>
        <source>The logbook does not know which bike computer recorded the ride of %1, so it cannot be written as one of its rides.</source>
        <translation>Das Fahrtenbuch weiß nicht, welcher Fahrradcomputer die Fahrt vom %1 aufgezeichnet hat; sie kann daher nicht als eine seiner Fahrten geschrieben werden.</translation>
    </message>
    <message>
        <source>The bike computer &quot;%1&quot; that recorded the ride of %2 is not one this version knows, so the ride cannot be written as one of its rides.</source>
        <translation>Den Fahrradcomputer „%1“, der die Fahrt vom %2 aufgezeichnet hat, kennt diese Version nicht; die Fahrt kann daher nicht als eine seiner Fahrten geschrieben werden.</translation>
    </message>
    <message>
        <source>Export ride</source>
        <translation>Fahrt exportieren</translation>
    </message>
    <message>
        <source>Write it as the rides of a model you name, on the command line:
velotool logbook export --model NAME %1 FILE</source>
        <translation>Schreiben Sie sie auf der Kommandozeile als Fahrt eines Modells, das Sie nennen:
velotool logbook export --model NAME %1 DATEI</translation>
    </message>
    <message>
        <source>Writing %1 failed, and the file was left as it was.</source>
        <translation>Das Schreiben von %1 ist fehlgeschlagen; die Datei blieb unverändert.</translation>
    </message>
    <message>
        <source>Make sure that there is space on the disk and that you may write there, or choose another folder.</source>
        <translation>Stellen Sie sicher, dass auf dem Datenträger Platz ist und dass Sie dort schreiben dürfen, oder wählen Sie einen anderen Ordner.</translation>
    </message>
    <message>
        <source>FIT activity files (*.fit)</source>
        <translation>FIT-Aktivitätsdateien (*.fit)</translation>
    </message>
    <message>
        <source>CSV logs (*.csv)</source>
        <translation>CSV-Protokolle (*.csv)</translation>
    </message>
    <message>
        <source>%1 exists already. Replace it?</source>
        <translation>%1 existiert bereits. Möchten Sie die Datei ersetzen?</translation>
    </message>
    <message>
        <source>Edit note</source>
        <translation>Notiz bearbeiten</translation>
    </message>
    <message>
        <source>Undo delete ride</source>
        <translation>Löschen rückgängig machen</translation>
    </message>
    <message>
        <source>The deleted rides could not be brought back.</source>
        <translation>Die gelöschten Fahrten konnten nicht zurückgeholt werden.</translation>
    </message>
    <message>
        <source>Delete ride</source>
        <translation>Fahrt löschen</translation>
    </message>
    <message>
        <source>Nothing was deleted.</source>
        <translation>Es wurde nichts gelöscht.</translation>
    </message>
    <message>
        <source>Delete the ride of %1?</source>
        <translation>Die Fahrt vom %1 löschen?</translation>
    </message>
    <message numerus="yes">
        <source>Delete these %n rides?</source>
        <translation>
            <numerusform>Diese %n Fahrt löschen?</numerusform>
            <numerusform>Diese %n Fahrten löschen?</numerusform>
        </translation>
    </message>
    <message>
        <source>and %1 more</source>
        <translation>und %1 weitere</translation>
    </message>
    <message>
        <source>Undo brings them back until the window is closed.</source>
        <translation>Mit „Rückgängig“ holen Sie sie zurück, solange das Fenster offen ist.</translation>
    </message>
    <message>
        <source>A deleted ride did not come back: the logbook got the same ride again since, and keeps that newer one.</source>
        <translation>Eine gelöschte Fahrt kam nicht zurück: Das Fahrtenbuch hat dieselbe Fahrt inzwischen erneut erhalten und behält diese neuere.</translation>
    </message>
    <message numerus="yes">
        <source>%n deleted rides did not come back: the logbook got the same rides again since, and keeps those newer ones.</source>
        <translation>
            <numerusform>%n gelöschte Fahrt kam nicht zurück: Das Fahrtenbuch hat dieselbe Fahrt inzwischen erneut erhalten und behält diese neuere.</numerusform>
            <numerusform>%n gelöschte Fahrten kamen nicht zurück: Das Fahrtenbuch hat dieselben Fahrten inzwischen erneut erhalten und behält diese neueren.</numerusform>
        </translation>
    </message>
    <message>
        <source>Import CSV logs</source>
        <translation>CSV-Protokolle importieren</translation>
    </message>
</context>
<context>
    <name>RidesTab</name>
    <message>
        <source>Rides</source>
        <translation>Fahrten</translation>
    </message>
    <message>
        <source>Totals of the rides shown</source>
        <translation>Summen der gezeigten Fahrten</translation>
    </message>
    <message>
        <source>Bike</source>
        <translation>Rad</translation>
    </message>
    <message>
        <source>Both bikes</source>
        <translation>Beide Räder</translation>
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
        <source>Period</source>
        <translation>Zeitraum</translation>
    </message>
    <message>
        <source>This week</source>
        <translation>Diese Woche</translation>
    </message>
    <message>
        <source>This month</source>
        <translation>Dieser Monat</translation>
    </message>
    <message>
        <source>This year</source>
        <translation>Dieses Jahr</translation>
    </message>
    <message>
        <source>All</source>
        <translation>Alle</translation>
    </message>
    <message>
        <source>From–to</source>
        <translation>Von–bis</translation>
    </message>
    <message>
        <source>First day</source>
        <translation>Erster Tag</translation>
    </message>
    <message>
        <source>Last day</source>
        <translation>Letzter Tag</translation>
    </message>
    <message>
        <source>Search in the notes</source>
        <translation>In den Notizen suchen</translation>
    </message>
    <message>
        <source>&amp;Bike:</source>
        <translation>&amp;Rad:</translation>
    </message>
    <message>
        <source>&amp;Period:</source>
        <translation>&amp;Zeitraum:</translation>
    </message>
    <message>
        <source>&amp;Search:</source>
        <translation>&amp;Suche:</translation>
    </message>
    <message>
        <source>%1: %2 %3, ride time %4, ascent %5 %6, %7 kcal</source>
        <translation>%1: %2 %3, Fahrzeit %4, Höhenmeter bergauf %5 %6, %7 kcal</translation>
    </message>
    <message>
        <source>1 ride</source>
        <translation>1 Fahrt</translation>
    </message>
    <message>
        <source>%1 rides</source>
        <translation>%1 Fahrten</translation>
    </message>
</context>
<context>
    <name>TotalsTab</name>
    <message>
        <source>Charts</source>
        <translation>Diagramme</translation>
    </message>
    <message>
        <source>Distance per period</source>
        <translation>Strecke je Zeitraum</translation>
    </message>
    <message>
        <source>Ride time per period</source>
        <translation>Fahrzeit je Zeitraum</translation>
    </message>
    <message>
        <source>&amp;Distance</source>
        <translation>&amp;Strecke</translation>
    </message>
    <message>
        <source>Ride &amp;time</source>
        <translation>&amp;Fahrzeit</translation>
    </message>
    <message>
        <source>Totals by</source>
        <translation>Summen je</translation>
    </message>
    <message>
        <source>Week</source>
        <translation>Woche</translation>
    </message>
    <message>
        <source>Month</source>
        <translation>Monat</translation>
    </message>
    <message>
        <source>Year</source>
        <translation>Jahr</translation>
    </message>
    <message>
        <source>Bike</source>
        <translation>Rad</translation>
    </message>
    <message>
        <source>Both bikes</source>
        <translation>Beide Räder</translation>
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
        <source>Chosen period</source>
        <translation>Gewählter Zeitraum</translation>
    </message>
    <message>
        <source>Totals &amp;by:</source>
        <translation>Summen &amp;je:</translation>
    </message>
    <message>
        <source>B&amp;ike:</source>
        <translation>&amp;Rad:</translation>
    </message>
    <message>
        <source>&amp;Period:</source>
        <translation>&amp;Zeitraum:</translation>
    </message>
    <message>
        <source>The chosen period</source>
        <translation>Der gewählte Zeitraum</translation>
    </message>
    <message>
        <source>Rides</source>
        <translation>Fahrten</translation>
    </message>
    <message>
        <source>Distance</source>
        <translation>Strecke</translation>
    </message>
    <message>
        <source>Ride time</source>
        <translation>Fahrzeit</translation>
    </message>
    <message>
        <source>Ascent</source>
        <translation>Höhenmeter bergauf</translation>
    </message>
    <message>
        <source>Energy</source>
        <translation>Kalorien</translation>
    </message>
    <message>
        <source>%1:</source>
        <translation>%1:</translation>
    </message>
    <message>
        <source>The year so far against the year before</source>
        <translation>Das Jahr bisher im Vergleich zum Vorjahr</translation>
    </message>
    <message>
        <source>Span of the year so far</source>
        <translation>Bisheriger Zeitraum des Jahres</translation>
    </message>
    <message>
        <source>%1 this year</source>
        <translation>%1 in diesem Jahr</translation>
    </message>
    <message>
        <source>%1 last year</source>
        <translation>%1 im Vorjahr</translation>
    </message>
    <message>
        <source>h</source>
        <translation>h</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>–</source>
        <translation>–</translation>
    </message>
    <message>
        <source>%1 %2</source>
        <translation>%1 %2</translation>
    </message>
    <message>
        <source>%1 kcal</source>
        <translation>%1 kcal</translation>
    </message>
    <message>
        <source>1 January to %1</source>
        <translation>1. Januar bis %1</translation>
    </message>
    <message>
        <source>d MMMM</source>
        <comment>day and month of today</comment>
        <translation>d. MMMM</translation>
    </message>
    <message>
        <source>d MMM</source>
        <comment>the Monday of a week on the chart&apos;s axis</comment>
        <translation>d. MMM</translation>
    </message>
    <message>
        <source>MMM yy</source>
        <comment>a month on the chart&apos;s axis</comment>
        <translation>MMM yy</translation>
    </message>
    <message>
        <source>Week %1 of %2, from %3</source>
        <translation>KW %1/%2, ab %3</translation>
    </message>
    <message>
        <source>MMMM yyyy</source>
        <comment>a month in the list of periods</comment>
        <translation>MMMM yyyy</translation>
    </message>
    <message>
        <source>%1:%2 h</source>
        <translation>%1:%2 h</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>The rides kept in Pacerow&apos;s logbook.</source>
        <translation>Die Fahrten im Fahrtenbuch von Pacerow.</translation>
    </message>
    <message>
        <source>Opens this logbook instead of the usual one.</source>
        <translation>Öffnet dieses Fahrtenbuch statt des üblichen.</translation>
    </message>
</context>
</TS>
