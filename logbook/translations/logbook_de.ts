<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CsvLogLine</name>
    <message>
        <source>%1 columns instead of %2</source>
        <translation>%1 Spalten statt %2</translation>
    </message>
    <message>
        <source>the first column names no units</source>
        <translation>die erste Spalte nennt keine Einheiten</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a date</source>
        <translation>„%1“ ist kein Datum</translation>
    </message>
    <message>
        <source>column %1 holds &quot;%2&quot;, which is not a value of the log</source>
        <translation>Spalte %1 enthält „%2“, was kein Wert des Protokolls ist</translation>
    </message>
</context>
<context>
    <name>DisplayUnits</name>
    <message>
        <source>metric</source>
        <translation>metrisch</translation>
    </message>
    <message>
        <source>imperial</source>
        <translation>angloamerikanisch</translation>
    </message>
    <message>
        <source>km</source>
        <translation>km</translation>
    </message>
    <message>
        <source>mi</source>
        <translation>mi</translation>
    </message>
    <message>
        <source>km/h</source>
        <translation>km/h</translation>
    </message>
    <message>
        <source>mph</source>
        <translation>mph</translation>
    </message>
    <message>
        <source>m</source>
        <translation>m</translation>
    </message>
    <message>
        <source>ft</source>
        <translation>ft</translation>
    </message>
    <message>
        <source>°C</source>
        <translation>°C</translation>
    </message>
    <message>
        <source>°F</source>
        <translation>°F</translation>
    </message>
</context>
<context>
    <name>Logbook</name>
    <message>
        <source>another program&apos;s database</source>
        <translation>die Datenbank eines anderen Programms</translation>
    </message>
    <message>
        <source>schema %1; this version knows up to %2</source>
        <translation>Schema %1; diese Version kennt bis %2</translation>
    </message>
    <message>
        <source>the copy could not take its name</source>
        <translation>die Kopie konnte ihren Namen nicht erhalten</translation>
    </message>
    <message>
        <source>no such file</source>
        <translation>Datei nicht vorhanden</translation>
    </message>
    <message>
        <source>not yet brought up to date</source>
        <translation>noch nicht auf den neuen Stand gebracht</translation>
    </message>
</context>
<context>
    <name>LogbookError</name>
    <message>
        <source>The logbook %1 cannot be opened (%2). Check that its folder exists and that you may write there, or choose another logbook.</source>
        <translation>Das Fahrtenbuch %1 kann nicht geöffnet werden (%2). Prüfen Sie, ob sein Ordner existiert und ob Sie dort schreiben dürfen, oder wählen Sie ein anderes Fahrtenbuch.</translation>
    </message>
    <message>
        <source>The logbook %1 is damaged or is not a logbook of rides (%2). It was left as it is: move it aside to start a new one, or choose another logbook.</source>
        <translation>Das Fahrtenbuch %1 ist beschädigt oder kein Fahrtenbuch (%2). Es wurde unverändert gelassen: Verschieben Sie es, um ein neues anzulegen, oder wählen Sie ein anderes Fahrtenbuch.</translation>
    </message>
    <message>
        <source>The logbook %1 was written by a newer version of Pacerow (%2). It was left as it is: use that version, or choose another logbook.</source>
        <translation>Das Fahrtenbuch %1 wurde von einer neueren Version von Pacerow geschrieben (%2). Es wurde unverändert gelassen: Verwenden Sie diese Version oder wählen Sie ein anderes Fahrtenbuch.</translation>
    </message>
    <message>
        <source>The logbook %1 may not be changed: you have no permission to write the file or its folder. Nothing was recorded; allow writing there, or choose another logbook.</source>
        <translation>Das Fahrtenbuch %1 darf nicht geändert werden: Sie haben keine Schreibberechtigung für die Datei oder ihren Ordner. Es wurde nichts eingetragen; erlauben Sie das Schreiben dort oder wählen Sie ein anderes Fahrtenbuch.</translation>
    </message>
    <message>
        <source>The logbook %1 could not be written: the disk is full or the file may not grow (%2). Nothing was recorded; make room and try again.</source>
        <translation>Das Fahrtenbuch %1 konnte nicht geschrieben werden: Der Datenträger ist voll oder die Datei darf nicht wachsen (%2). Es wurde nichts eingetragen; schaffen Sie Platz und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>The logbook %1 stayed busy with another program for too long. Nothing was recorded; try again once the other program is done.</source>
        <translation>Das Fahrtenbuch %1 war zu lange von einem anderen Programm belegt. Es wurde nichts eingetragen; versuchen Sie es erneut, sobald das andere Programm fertig ist.</translation>
    </message>
    <message>
        <source>The logbook %1 holds no ride numbered %2; its list shows the numbers of the rides it holds.</source>
        <translation>Das Fahrtenbuch %1 enthält keine Fahrt mit der Nummer %2; seine Liste zeigt die Nummern der enthaltenen Fahrten.</translation>
    </message>
    <message>
        <source>The logbook %1 was moved, replaced or deleted while it was open, and nothing more was written to it. Open the logbook window again to see the logbook that is there now.</source>
        <translation>Das Fahrtenbuch %1 wurde verschoben, ersetzt oder gelöscht, während es geöffnet war; seitdem wurde nichts mehr hineingeschrieben. Öffnen Sie das Fahrtenbuch-Fenster erneut, um das Fahrtenbuch zu sehen, das jetzt dort liegt.</translation>
    </message>
</context>
<context>
    <name>QSQLiteResult</name>
    <message>
        <source>Unable to fetch row</source>
        <translation>Der Datensatz konnte nicht abgeholt werden</translation>
    </message>
</context>
<context>
    <name>RideListModel</name>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Bike</source>
        <translation>Rad</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>Modell</translation>
    </message>
    <message>
        <source>Ride time</source>
        <translation>Fahrzeit</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Notiz</translation>
    </message>
    <message>
        <source>Bike %1</source>
        <translation>Rad %1</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Distance (%1)</source>
        <translation>Strecke (%1)</translation>
    </message>
    <message>
        <source>Avg. speed (%1)</source>
        <translation>Ø Geschw. (%1)</translation>
    </message>
    <message>
        <source>Max. speed (%1)</source>
        <translation>Max. Geschw. (%1)</translation>
    </message>
    <message>
        <source>Ascent (%1)</source>
        <translation>Höhenmeter bergauf (%1)</translation>
    </message>
    <message>
        <source>Heart rate</source>
        <translation>Herzfrequenz</translation>
    </message>
    <message>
        <source>kcal</source>
        <translation>kcal</translation>
    </message>
</context>
<context>
    <name>SqliteStatement</name>
    <message>
        <source>not an open SQLite connection</source>
        <translation>keine offene SQLite-Verbindung</translation>
    </message>
</context>
</TS>
