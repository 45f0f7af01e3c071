<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>ChannelItemDelegate</name>
    <message>
        <source>min</source>
        <translation>Min.</translation>
    </message>
</context>
<context>
    <name>DesktopShellServices</name>
    <message>
        <source>Waiting for the receiver</source>
        <translation>Warte auf den Receiver</translation>
    </message>
</context>
<context>
    <name>EpgWidget</name>
    <message>
        <source>Use Enigma2 Search</source>
        <translation>Enigma2-Suche verwenden</translation>
    </message>
    <message>
        <source>Search in current Channel</source>
        <translation>Im aktuellen Kanal suchen</translation>
    </message>
    <message>
        <source>Search in current Bouquet</source>
        <translation>Im aktuellen Bouquet suchen</translation>
    </message>
    <message>
        <source>Search in all Bouquets</source>
        <translation>In allen Bouquets suchen</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Local Search</source>
        <translation>Lokale Suche</translation>
    </message>
    <message>
        <source>Search text</source>
        <translation>Suchtext</translation>
    </message>
    <message>
        <source>Results: </source>
        <translation>Treffer: </translation>
    </message>
    <message>
        <source>Similar Events</source>
        <translation>Ähnliche Sendungen</translation>
    </message>
    <message>
        <source>Enigma2 Search</source>
        <translation>Enigma2-Suche</translation>
    </message>
    <message>
        <source>Similar events could not be loaded</source>
        <translation>Ähnliche Sendungen konnten nicht geladen werden</translation>
    </message>
    <message>
        <source>The receiver&apos;s search failed</source>
        <translation>Die Suche des Receivers ist fehlgeschlagen</translation>
    </message>
    <message>
        <source>TavrelControl - Search Options</source>
        <translation>TavrelControl - Suchoptionen</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Date/Time</source>
        <translation>Datum/Uhrzeit</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Add Zap Timer</source>
        <translation>Umschalt-Timer hinzufügen</translation>
    </message>
    <message>
        <source>Add Record Timer</source>
        <translation>Aufnahme-Timer hinzufügen</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>TavrelControl Lite</source>
        <translation>TavrelControl Lite</translation>
    </message>
    <message>
        <source>TV</source>
        <translation>TV</translation>
    </message>
    <message>
        <source>Bouquet</source>
        <translation>Bouquet</translation>
    </message>
    <message>
        <source>Epg</source>
        <translation>EPG</translation>
    </message>
    <message>
        <source>Movie</source>
        <translation>Film</translation>
    </message>
    <message>
        <source>Timer</source>
        <translation>Timer</translation>
    </message>
    <message>
        <source>Reload Epg Data</source>
        <translation>EPG-Daten neu laden</translation>
    </message>
    <message>
        <source>Reload Service Data</source>
        <translation>Senderdaten neu laden</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Umbenennen</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Profile</source>
        <translation>Profil</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Extras</source>
        <translation>Extras</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Satfinder</source>
        <translation>Satfinder</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Send a message</source>
        <translation>Nachricht senden</translation>
    </message>
    <message>
        <source>Menu</source>
        <translation>Menü</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>TavrelControl really quit?</source>
        <translation>TavrelControl wirklich beenden?</translation>
    </message>
    <message>
        <source>Delete the recording &quot;%1&quot;?</source>
        <translation>Die Aufnahme „%1“ löschen?</translation>
    </message>
</context>
<context>
    <name>MessageBox</name>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>PanelWidget</name>
    <message>
        <source>Click to connect...</source>
        <translation>Zum Verbinden klicken...</translation>
    </message>
    <message>
        <source>Enigma reload</source>
        <translation>Enigma neu laden</translation>
    </message>
    <message>
        <source>Box wakeup</source>
        <translation>Box aufwecken</translation>
    </message>
    <message>
        <source>Box standby</source>
        <translation>Box in Standby</translation>
    </message>
    <message>
        <source>Box reboot</source>
        <translation>Box neu starten</translation>
    </message>
    <message>
        <source>Box shutdown</source>
        <translation>Box ausschalten</translation>
    </message>
    <message>
        <source>Live Mode on</source>
        <translation>Live-Modus an</translation>
    </message>
    <message>
        <source>Live Mode off</source>
        <translation>Live-Modus aus</translation>
    </message>
    <message>
        <source>Box is standby</source>
        <translation>Box ist im Standby</translation>
    </message>
    <message>
        <source> Min</source>
        <translation> Min.</translation>
    </message>
</context>
<context>
    <name>PlaceholderPage</name>
    <message>
        <source>This page is not available yet.</source>
        <translation>Diese Seite ist noch nicht verfügbar.</translation>
    </message>
</context>
<context>
    <name>StackedWindows</name>
    <message>
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Back to the main window (Esc)</source>
        <translation>Zurück zum Hauptfenster (Esc)</translation>
    </message>
</context>
<context>
    <name>TavrelControl</name>
    <message>
        <source>No Active Profile found!</source>
        <translation>Kein aktives Profil gefunden!</translation>
    </message>
    <message>
        <source>Connection error!
Try again?</source>
        <translation>Verbindungsfehler!
Noch einmal versuchen?</translation>
    </message>
    <message>
        <source>Stop current recording?</source>
        <translation>Laufende Aufnahme beenden?</translation>
    </message>
    <message>
        <source>Event Timer successfully created!</source>
        <translation>Timer für die Sendung angelegt!</translation>
    </message>
    <message>
        <source>Timer event could not be created!</source>
        <translation>Der Timer konnte nicht angelegt werden!</translation>
    </message>
    <message>
        <source>Timer Event was deleted!</source>
        <translation>Der Timer wurde gelöscht!</translation>
    </message>
    <message>
        <source>Timer event could not be deleted!</source>
        <translation>Der Timer konnte nicht gelöscht werden!</translation>
    </message>
    <message>
        <source>Box shutdown?</source>
        <translation>Box ausschalten?</translation>
    </message>
    <message>
        <source>Box reboot?</source>
        <translation>Box neu starten?</translation>
    </message>
    <message>
        <source>Enigma reload?</source>
        <translation>Enigma neu laden?</translation>
    </message>
    <message>
        <source>Retrieve new service data from the box?</source>
        <translation>Neue Senderdaten von der Box holen?</translation>
    </message>
</context>
<context>
    <name>TimerEventItemDelegate</name>
    <message>
        <source>Zap Timer</source>
        <translation>Umschalt-Timer</translation>
    </message>
    <message>
        <source>Record Timer</source>
        <translation>Aufnahme-Timer</translation>
    </message>
</context>
</TS>
