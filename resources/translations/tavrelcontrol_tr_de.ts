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
    <message>
        <source>Zap</source>
        <translation>Umschalten</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Wiedergabe</translation>
    </message>
    <message>
        <source>&amp;Menu</source>
        <translation>&amp;Menü</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>&amp;Remote</source>
        <translation>&amp;Fernbedienung</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Keyboard Shortcuts</source>
        <translation>Tastenkürzel</translation>
    </message>
    <message>
        <source>About TavrelControl Lite</source>
        <translation>Über TavrelControl Lite</translation>
    </message>
    <message>
        <source>&lt;b&gt;TavrelControl Lite&lt;/b&gt; %1&lt;br&gt;A remote control for Enigma2 and Enigma1 satellite receivers.&lt;br&gt;Built with Qt %2, running on Qt %3.</source>
        <translation>&lt;b&gt;TavrelControl Lite&lt;/b&gt; %1&lt;br&gt;Eine Fernbedienung für Enigma2- und Enigma1-Satellitenreceiver.&lt;br&gt;Erstellt mit Qt %2, läuft mit Qt %3.</translation>
    </message>
    <message>
        <source>unreachable</source>
        <translation>nicht erreichbar</translation>
    </message>
    <message>
        <source>connected</source>
        <translation>verbunden</translation>
    </message>
    <message>
        <source>not connected</source>
        <translation>nicht verbunden</translation>
    </message>
    <message>
        <source>%1 - %2 (%3)</source>
        <translation>%1 - %2 (%3)</translation>
    </message>
    <message>
        <source>Connected to %1 at %2:%3</source>
        <translation>Verbunden mit %1 unter %2:%3</translation>
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
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>Power menu</source>
        <translation>Ein/Aus-Menü</translation>
    </message>
    <message>
        <source>Network activity; press and hold for live mode</source>
        <translation>Netzwerkaktivität; gedrückt halten für den Live-Modus</translation>
    </message>
    <message>
        <source>Fast forward</source>
        <translation>Vorspulen</translation>
    </message>
    <message>
        <source>Rewind</source>
        <translation>Zurückspulen</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Wiedergabe</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Aufnahme</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>Stumm</translation>
    </message>
    <message>
        <source>Volume (%1, %2)</source>
        <translation>Lautstärke (%1, %2)</translation>
    </message>
    <message>
        <source>Click: OK on the receiver and refresh</source>
        <translation>Klick: OK am Receiver und aktualisieren</translation>
    </message>
    <message>
        <source>Volume slider or playback buttons</source>
        <translation>Lautstärkeregler oder Wiedergabetasten</translation>
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
    <name>ReceiverReachability</name>
    <message>
        <source>connection refused</source>
        <translation>Verbindung abgelehnt</translation>
    </message>
    <message>
        <source>host not found</source>
        <translation>Rechner nicht gefunden</translation>
    </message>
    <message>
        <source>no answer in time</source>
        <translation>keine Antwort in der Zeit</translation>
    </message>
    <message>
        <source>user name or password refused</source>
        <translation>Benutzername oder Passwort abgelehnt</translation>
    </message>
    <message>
        <source>the receiver closed the connection</source>
        <translation>der Receiver hat die Verbindung geschlossen</translation>
    </message>
    <message>
        <source>no route to the receiver</source>
        <translation>kein Weg zum Receiver</translation>
    </message>
    <message>
        <source>network error %1</source>
        <translation>Netzwerkfehler %1</translation>
    </message>
</context>
<context>
    <name>RemoteShortcuts</name>
    <message>
        <source>Volume up</source>
        <translation>Lauter</translation>
    </message>
    <message>
        <source>Volume down</source>
        <translation>Leiser</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>Stumm</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Wiedergabe</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Aufnahme</translation>
    </message>
    <message>
        <source>Fast forward</source>
        <translation>Vorspulen</translation>
    </message>
    <message>
        <source>Rewind</source>
        <translation>Zurückspulen</translation>
    </message>
    <message>
        <source>Previous channel</source>
        <translation>Voriger Sender</translation>
    </message>
    <message>
        <source>Next channel</source>
        <translation>Nächster Sender</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>&lt;b&gt;Keys of the remote control&lt;/b&gt;</source>
        <translation>&lt;b&gt;Tasten der Fernbedienung&lt;/b&gt;</translation>
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
    <message>
        <source>Cannot reach %1 at %2: %3</source>
        <translation>%1 unter %2 ist nicht erreichbar: %3</translation>
    </message>
    <message>
        <source>%1 at %2 answers again</source>
        <translation>%1 unter %2 antwortet wieder</translation>
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
