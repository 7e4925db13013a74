<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>QObject</name>
    <message>
        <source>Unit</source>
        <translation>Einheiten</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Ride time</source>
        <translation>Fahrzeit</translation>
    </message>
    <message>
        <source>Total Distance</source>
        <translation>Tagesstrecke</translation>
    </message>
    <message>
        <source>Total kcal</source>
        <translation>Kalorien (kcal)</translation>
    </message>
    <message>
        <source>Avg. Speed</source>
        <translation>Durchschnittsgeschwindigkeit</translation>
    </message>
    <message>
        <source>Max. Speed</source>
        <translation>Höchstgeschwindigkeit</translation>
    </message>
    <message>
        <source>Avg. Cadence</source>
        <translation>Durchschnittliche Trittfrequenz</translation>
    </message>
    <message>
        <source>Max. Cadence</source>
        <translation>Maximale Trittfrequenz</translation>
    </message>
    <message>
        <source>Daily max. Temp.</source>
        <translation>Tageshöchsttemperatur</translation>
    </message>
    <message>
        <source>Daily min. Temp.</source>
        <translation>Tagestiefsttemperatur</translation>
    </message>
    <message>
        <source>Avg. heart rate (bpm)</source>
        <translation>Durchschnittliche Herzfrequenz (S/min)</translation>
    </message>
    <message>
        <source>Max. heart rate (bpm)</source>
        <translation>Maximale Herzfrequenz (S/min)</translation>
    </message>
    <message>
        <source>Time in heart rate zone</source>
        <translation>Zeit in der Herzfrequenzzone</translation>
    </message>
    <message>
        <source>Time lower heart rate zone</source>
        <translation>Zeit unter der Herzfrequenzzone</translation>
    </message>
    <message>
        <source>Time upper heart rate zone</source>
        <translation>Zeit über der Herzfrequenzzone</translation>
    </message>
    <message>
        <source>Max. altitude</source>
        <translation>Maximale Höhe</translation>
    </message>
    <message>
        <source>Alt. Gain</source>
        <translation>Höhenmeter bergauf</translation>
    </message>
    <message>
        <source>Alt. loss</source>
        <translation>Höhenmeter bergab</translation>
    </message>
    <message>
        <source>Avg. Asc. Gradient</source>
        <translation>Durchschnittliche Steigung</translation>
    </message>
    <message>
        <source>Max. Asc. Gradient</source>
        <translation>Maximale Steigung</translation>
    </message>
    <message>
        <source>Avg. Desc. Gradient</source>
        <translation>Durchschnittliches Gefälle</translation>
    </message>
    <message>
        <source>Max. Desc. Gradient</source>
        <translation>Maximales Gefälle</translation>
    </message>
    <message>
        <source>Avg. Asc. Vario</source>
        <translation>Durchschnittliche Steiggeschwindigkeit</translation>
    </message>
    <message>
        <source>Max. Asc. Vario</source>
        <translation>Maximale Steiggeschwindigkeit</translation>
    </message>
    <message>
        <source>Avg. Desc. Vario</source>
        <translation>Durchschnittliche Sinkgeschwindigkeit</translation>
    </message>
    <message>
        <source>Max. Desc. Vario</source>
        <translation>Maximale Sinkgeschwindigkeit</translation>
    </message>
</context>
<context>
    <name>SporticsUploader</name>
    <message>
        <source>The ride record cannot be turned into a FIT file.</source>
        <translation>Aus den Fahrtdaten lässt sich keine FIT-Datei erstellen.</translation>
    </message>
    <message>
        <source>The portal&apos;s address %1 is not an https:// address; the credentials are sent over https only.</source>
        <translation>Die Adresse %1 des Portals ist keine https://-Adresse; die Zugangsdaten werden nur über https gesendet.</translation>
    </message>
    <message>
        <source>The portal did not answer within %1 s.</source>
        <translation>Das Portal hat nicht innerhalb von %1 s geantwortet.</translation>
    </message>
    <message>
        <source>The portal answered with HTTP status %1 instead of 201.</source>
        <translation>Das Portal antwortete mit dem HTTP-Status %1 statt 201.</translation>
    </message>
</context>
<context>
    <name>UploadDialog</name>
    <message>
        <source>Upload</source>
        <translation>Hochladen</translation>
    </message>
    <message>
        <source>Username:</source>
        <translation>Benutzername:</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Passwort:</translation>
    </message>
    <message>
        <source>TextLabel</source>
        <translation>TextLabel</translation>
    </message>
    <message>
        <source>Uploading ...</source>
        <translation>Wird hochgeladen …</translation>
    </message>
    <message>
        <source>Upload Complete</source>
        <translation>Hochladen abgeschlossen</translation>
    </message>
    <message>
        <source>Upload completed successfully!</source>
        <translation>Das Hochladen war erfolgreich.</translation>
    </message>
    <message>
        <source>Upload failed</source>
        <translation>Hochladen fehlgeschlagen</translation>
    </message>
    <message>
        <source>Upload Failed! Please check your inputs.</source>
        <translation>Das Hochladen ist fehlgeschlagen. Bitte prüfen Sie Ihre Eingaben.</translation>
    </message>
</context>
</TS>
