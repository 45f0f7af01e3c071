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
    <name>HelpWidget</name>
    <message>
        <source>Back to the first page of the manual</source>
        <translation>Zurück zur ersten Seite des Handbuchs</translation>
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
    <name>MessageForm</name>
    <message>
        <source>Timeout</source>
        <translation>Zeitlimit</translation>
    </message>
    <message>
        <source> s</source>
        <translation> s</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>Senden</translation>
    </message>
    <message>
        <source>Header:</source>
        <translation>Überschrift:</translation>
    </message>
    <message>
        <source>Body:</source>
        <translation>Text:</translation>
    </message>
    <message>
        <source>Ok Button</source>
        <translation>OK-Taste</translation>
    </message>
    <message>
        <source>Question</source>
        <translation>Frage</translation>
    </message>
    <message>
        <source>Reply request</source>
        <translation>Antwort abfragen</translation>
    </message>
</context>
<context>
    <name>MessagePage</name>
    <message>
        <source>sent...</source>
        <translation>gesendet...</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>Senden</translation>
    </message>
    <message>
        <source>The message did not reach the receiver.</source>
        <translation>Die Nachricht hat den Receiver nicht erreicht.</translation>
    </message>
</context>
<context>
    <name>MessageWidgetE2</name>
    <message>
        <source>Answer is YES!</source>
        <translation>Antwort ist JA!</translation>
    </message>
    <message>
        <source>Answer is NO!</source>
        <translation>Antwort ist NEIN!</translation>
    </message>
    <message>
        <source>No answer in time!</source>
        <translation>Keine Antwort in der Zeit!</translation>
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
    <name>SatFinderWidget</name>
    <message>
        <source>There is nothing to measure yet: connect to the receiver on the TV tab first.</source>
        <translation>Noch gibt es nichts zu messen: Verbinden Sie sich zuerst im TV-Reiter mit dem Receiver.</translation>
    </message>
</context>
<context>
    <name>SatfinderForm</name>
    <message>
        <source>LOCK</source>
        <translation>LOCK</translation>
    </message>
    <message>
        <source>SYNC</source>
        <translation>SYNC</translation>
    </message>
    <message>
        <source>SNR:</source>
        <translation>SNR:</translation>
    </message>
    <message>
        <source>AGC:</source>
        <translation>AGC:</translation>
    </message>
    <message>
        <source>BER:</source>
        <translation>BER:</translation>
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
