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
    <name>GeneralInfoWidget</name>
    <message>
        <source>System</source>
        <translation>System</translation>
    </message>
    <message>
        <source>Enigma Version:</source>
        <translation>Enigma-Version:</translation>
    </message>
    <message>
        <source>Image Version:</source>
        <translation>Image-Version:</translation>
    </message>
    <message>
        <source>Webif Version:</source>
        <translation>Webif-Version:</translation>
    </message>
    <message>
        <source>Model:</source>
        <translation>Modell:</translation>
    </message>
    <message>
        <source>Network</source>
        <translation>Netzwerk</translation>
    </message>
    <message>
        <source>MAC Address:</source>
        <translation>MAC-Adresse:</translation>
    </message>
    <message>
        <source>IP Address:</source>
        <translation>IP-Adresse:</translation>
    </message>
    <message>
        <source>Net Mask:</source>
        <translation>Netzmaske:</translation>
    </message>
    <message>
        <source>Gateway:</source>
        <translation>Gateway:</translation>
    </message>
    <message>
        <source>DHCP:</source>
        <translation>DHCP:</translation>
    </message>
    <message>
        <source>Harddisk</source>
        <translation>Festplatte</translation>
    </message>
    <message>
        <source>Capacity:</source>
        <translation>Kapazität:</translation>
    </message>
    <message>
        <source>Free Space:</source>
        <translation>Freier Speicher:</translation>
    </message>
    <message>
        <source>Tuner</source>
        <translation>Tuner</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>Type:</source>
        <translation>Typ:</translation>
    </message>
    <message>
        <source>Signal</source>
        <translation>Signal</translation>
    </message>
    <message>
        <source>SNR dB:</source>
        <translation>SNR dB:</translation>
    </message>
    <message>
        <source>SNR %:</source>
        <translation>SNR %:</translation>
    </message>
    <message>
        <source>AGC:</source>
        <translation>AGC:</translation>
    </message>
    <message>
        <source>BER:</source>
        <translation>BER:</translation>
    </message>
    <message>
        <source>Data</source>
        <translation>Daten</translation>
    </message>
    <message>
        <source>Bytes Received:</source>
        <translation>Empfangene Bytes:</translation>
    </message>
    <message>
        <source>Linux Kernel:</source>
        <translation>Linux-Kernel:</translation>
    </message>
    <message>
        <source>Firmware:</source>
        <translation>Firmware:</translation>
    </message>
    <message>
        <source>Web Interface:</source>
        <translation>Weboberfläche:</translation>
    </message>
    <message>
        <source>Manufacturer:</source>
        <translation>Hersteller:</translation>
    </message>
    <message>
        <source>Processor:</source>
        <translation>Prozessor:</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nein</translation>
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
    <message>
        <source>Remote</source>
        <translation>Fernbedienung</translation>
    </message>
    <message>
        <source>Watch</source>
        <translation>Ansehen</translation>
    </message>
    <message>
        <source>Save as Playlist...</source>
        <translation>Als Wiedergabeliste speichern...</translation>
    </message>
    <message>
        <source>Save as Playlist</source>
        <translation>Als Wiedergabeliste speichern</translation>
    </message>
    <message>
        <source>Playlists (*.m3u)</source>
        <translation>Wiedergabelisten (*.m3u)</translation>
    </message>
    <message>
        <source>The playlist was saved as %1.</source>
        <translation>Die Wiedergabeliste wurde als %1 gespeichert.</translation>
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
    <message>
        <source>Wake up (Wake-on-LAN)</source>
        <translation>Aufwecken (Wake-on-LAN)</translation>
    </message>
    <message>
        <source>Show TV picture</source>
        <translation>TV-Bild zeigen</translation>
    </message>
    <message>
        <source>Watch on this computer</source>
        <translation>Auf diesem Computer ansehen</translation>
    </message>
    <message>
        <source>Plays the channel the receiver shows on this computer.</source>
        <translation>Spielt den Kanal, den der Receiver zeigt, auf diesem Computer ab.</translation>
    </message>
</context>
<context>
    <name>PasswordKeyring</name>
    <message>
        <source>The desktop&apos;s keyring (secret service) cannot be used, so the passwords of the profiles are kept in the settings file.</source>
        <translation>Der Schlüsselbund des Desktops (Secret Service) ist nicht nutzbar, darum bleiben die Passwörter der Profile in der Einstellungsdatei.</translation>
    </message>
</context>
<context>
    <name>ProfileTab</name>
    <message>
        <source>Please give the profile a name without &quot;/&quot; and &quot;\&quot;.</source>
        <translation>Bitte geben Sie dem Profil einen Namen ohne „/“ und „\“.</translation>
    </message>
    <message>
        <source>The port must be a number from 1 to 65535.</source>
        <translation>Der Port muss eine Zahl von 1 bis 65535 sein.</translation>
    </message>
    <message>
        <source>Please enter the IP address or host name of the receiver.</source>
        <translation>Bitte geben Sie die IP-Adresse oder den Hostnamen des Receivers ein.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not an IP address or host name.</source>
        <translation>„%1“ ist weder eine IP-Adresse noch ein Hostname.</translation>
    </message>
    <message>
        <source>Profile delete?</source>
        <translation>Profil löschen?</translation>
    </message>
    <message>
        <source>Active profile has been changed!
Reload service data?</source>
        <translation>Das aktive Profil wurde geändert!
Senderdaten neu laden?</translation>
    </message>
    <message>
        <source>Profile not yet saved.
Save now?</source>
        <translation>Profil noch nicht gespeichert.
Jetzt speichern?</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a MAC address; write it as six pairs of hex digits, like 00:1d:ec:0a:1b:2c.</source>
        <translation>&quot;%1&quot; ist keine MAC-Adresse; bitte als sechs Paare von Hexadezimalziffern schreiben, etwa 00:1d:ec:0a:1b:2c.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not an IP address with an optional port, like 192.168.1.255:9.</source>
        <translation>&quot;%1&quot; ist keine IP-Adresse mit optionalem Port, etwa 192.168.1.255:9.</translation>
    </message>
</context>
<context>
    <name>ProfileTab_ls</name>
    <message>
        <source>Active</source>
        <translation>Aktiv</translation>
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
        <source>IP Address:</source>
        <translation>IP-Adresse:</translation>
    </message>
    <message>
        <source>Port:</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>CCcam Port:</source>
        <translation>CCcam-Port:</translation>
    </message>
    <message>
        <source>Web Interface:</source>
        <translation>Weboberfläche:</translation>
    </message>
    <message>
        <source>Enigma 1</source>
        <translation>Enigma 1</translation>
    </message>
    <message>
        <source>Enigma 2</source>
        <translation>Enigma 2</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Profile Name:</source>
        <translation>Profilname:</translation>
    </message>
    <message>
        <source>MAC Address:</source>
        <translation>MAC-Adresse:</translation>
    </message>
    <message>
        <source>learnt on connecting</source>
        <translation>wird beim Verbinden ermittelt</translation>
    </message>
    <message>
        <source>Wake-up Address:</source>
        <translation>Weckadresse:</translation>
    </message>
    <message>
        <source>LAN broadcast</source>
        <translation>Broadcast im LAN</translation>
    </message>
    <message>
        <source>Zap before watching</source>
        <translation>Vor dem Ansehen umschalten</translation>
    </message>
    <message>
        <source>Stream needs credentials</source>
        <translation>Stream braucht Zugangsdaten</translation>
    </message>
</context>
<context>
    <name>ProfileTab_pt</name>
    <message>
        <source>Active</source>
        <translation>Aktiv</translation>
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
        <source>IP Address:</source>
        <translation>IP-Adresse:</translation>
    </message>
    <message>
        <source>Port:</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>CCcam Port:</source>
        <translation>CCcam-Port:</translation>
    </message>
    <message>
        <source>Web Interface:</source>
        <translation>Weboberfläche:</translation>
    </message>
    <message>
        <source>Enigma 1</source>
        <translation>Enigma 1</translation>
    </message>
    <message>
        <source>Enigma 2</source>
        <translation>Enigma 2</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Profile Name:</source>
        <translation>Profilname:</translation>
    </message>
    <message>
        <source>MAC Address:</source>
        <translation>MAC-Adresse:</translation>
    </message>
    <message>
        <source>learnt on connecting</source>
        <translation>wird beim Verbinden ermittelt</translation>
    </message>
    <message>
        <source>Wake-up Address:</source>
        <translation>Weckadresse:</translation>
    </message>
    <message>
        <source>LAN broadcast</source>
        <translation>Broadcast im LAN</translation>
    </message>
    <message>
        <source>Zap before watching</source>
        <translation>Vor dem Ansehen umschalten</translation>
    </message>
    <message>
        <source>Stream needs credentials</source>
        <translation>Stream braucht Zugangsdaten</translation>
    </message>
</context>
<context>
    <name>ProfileWidget</name>
    <message>
        <source>TavrelControl Profil Settings</source>
        <translation>TavrelControl Profileinstellungen</translation>
    </message>
    <message>
        <source>New Profil</source>
        <translation>Neues Profil</translation>
    </message>
    <message>
        <source>Please give the profile a name without &quot;/&quot; and &quot;\&quot;.</source>
        <translation>Bitte geben Sie dem Profil einen Namen ohne „/“ und „\“.</translation>
    </message>
    <message>
        <source>Profile already exists!</source>
        <translation>Profil existiert bereits!</translation>
    </message>
    <message>
        <source>Profil saved!</source>
        <translation>Profil gespeichert!</translation>
    </message>
    <message>
        <source>Create new profile!
Reload service data?</source>
        <translation>Neues Profil angelegt!
Senderdaten neu laden?</translation>
    </message>
    <message>
        <source>Profile changed!
Reload service data?</source>
        <translation>Profil geändert!
Senderdaten neu laden?</translation>
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
    <name>RemoteWidget</name>
    <message>
        <source>Remote</source>
        <translation>Fernbedienung</translation>
    </message>
    <message>
        <source>Picture</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>The key did not reach the receiver.</source>
        <translation>Die Taste hat den Receiver nicht erreicht.</translation>
    </message>
    <message>
        <source>TV/R</source>
        <translation>TV/R</translation>
    </message>
    <message>
        <source>TV/Radio</source>
        <translation>TV/Radio</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Teletext</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Power</source>
        <translation>Ein/Aus</translation>
    </message>
    <message>
        <source>Audio</source>
        <translation>Audio</translation>
    </message>
    <message>
        <source>Audio tracks</source>
        <translation>Tonspuren</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Menu</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>Hoch</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>Links</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>EPG</source>
        <translation>EPG</translation>
    </message>
    <message>
        <source>Programme guide</source>
        <translation>Programmführer</translation>
    </message>
    <message>
        <source>Red</source>
        <translation>Rot</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>Grün</translation>
    </message>
    <message>
        <source>Yellow</source>
        <translation>Gelb</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>Blau</translation>
    </message>
    <message>
        <source>Vol +</source>
        <translation>Lauter</translation>
    </message>
    <message>
        <source>Volume up</source>
        <translation>Lauter</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>Stumm</translation>
    </message>
    <message>
        <source>Ch +</source>
        <translation>Lauter</translation>
    </message>
    <message>
        <source>Channel up</source>
        <translation>Nächster Kanal</translation>
    </message>
    <message>
        <source>Vol −</source>
        <translation>Leiser</translation>
    </message>
    <message>
        <source>Volume down</source>
        <translation>Leiser</translation>
    </message>
    <message>
        <source>Ch −</source>
        <translation>Leiser</translation>
    </message>
    <message>
        <source>Channel down</source>
        <translation>Voriger Kanal</translation>
    </message>
    <message>
        <source>Keyboard: 0-9 digits, arrow keys, Return = OK, Esc = Exit, Page Up/Down = channel up/down, +/- = volume. Hold a key with the mouse for a long press.</source>
        <translation>Tastatur: 0-9 Ziffern, Pfeiltasten, Eingabe = OK, Esc = Exit, Bild auf/ab = Kanal auf/ab, +/- = Lautstärke. Eine Taste mit der Maus halten für einen langen Druck.</translation>
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
    <name>SettingsWidget</name>
    <message>
        <source>Restore the default settings?</source>
        <translation>Die Standardeinstellungen wiederherstellen?</translation>
    </message>
    <message>
        <source>automatic: the desktop&apos;s default player</source>
        <translation>automatisch: der Standard-Player des Desktops</translation>
    </message>
    <message>
        <source>automatic: %1</source>
        <translation>automatisch: %1</translation>
    </message>
</context>
<context>
    <name>SettingsWidget_ls</name>
    <message>
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>Epg data loading</source>
        <translation>EPG-Daten laden</translation>
    </message>
    <message>
        <source>all automatically</source>
        <translation>alle automatisch</translation>
    </message>
    <message>
        <source>only when needed</source>
        <translation>nur bei Bedarf</translation>
    </message>
    <message>
        <source>Reset settings</source>
        <translation>Einstellungen zurücksetzen</translation>
    </message>
    <message>
        <source>Display</source>
        <translation>Anzeige</translation>
    </message>
    <message>
        <source>Orientation</source>
        <translation>Ausrichtung</translation>
    </message>
    <message>
        <source>Automatically</source>
        <translation>Automatisch</translation>
    </message>
    <message>
        <source>Landscape</source>
        <translation>Querformat</translation>
    </message>
    <message>
        <source>Portrait</source>
        <translation>Hochformat</translation>
    </message>
    <message>
        <source>Actions</source>
        <translation>Aktionen</translation>
    </message>
    <message>
        <source>Zap to channel</source>
        <translation>Auf Kanal umschalten</translation>
    </message>
    <message>
        <source>Channel list click</source>
        <translation>Klick in der Kanalliste</translation>
    </message>
    <message>
        <source>Channel list double click</source>
        <translation>Doppelklick in der Kanalliste</translation>
    </message>
    <message>
        <source>Zap to movie</source>
        <translation>Aufnahme abspielen</translation>
    </message>
    <message>
        <source>Movie list click</source>
        <translation>Klick in der Aufnahmeliste</translation>
    </message>
    <message>
        <source>Movie list double click</source>
        <translation>Doppelklick in der Aufnahmeliste</translation>
    </message>
    <message>
        <source>Panel click</source>
        <translation>Klick auf das Bedienfeld</translation>
    </message>
    <message>
        <source>Send OK Command</source>
        <translation>OK-Befehl senden</translation>
    </message>
    <message>
        <source>Send Exit Command</source>
        <translation>Exit-Befehl senden</translation>
    </message>
    <message>
        <source>Watching on this computer</source>
        <translation>Ansehen auf diesem Computer</translation>
    </message>
    <message>
        <source>Player command:</source>
        <translation>Player-Befehl:</translation>
    </message>
    <message>
        <source>The program that plays the receiver&apos;s streams; %u stands for the stream&apos;s address, otherwise it goes last.</source>
        <translation>Das Programm, das die Streams des Receivers abspielt; %u steht für die Adresse des Streams, sonst kommt sie ans Ende.</translation>
    </message>
</context>
<context>
    <name>SettingsWidget_pt</name>
    <message>
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>Epg data loading</source>
        <translation>EPG-Daten laden</translation>
    </message>
    <message>
        <source>all automatically</source>
        <translation>alle automatisch</translation>
    </message>
    <message>
        <source>only when needed</source>
        <translation>nur bei Bedarf</translation>
    </message>
    <message>
        <source>Reset settings</source>
        <translation>Einstellungen zurücksetzen</translation>
    </message>
    <message>
        <source>Display</source>
        <translation>Anzeige</translation>
    </message>
    <message>
        <source>Orientation</source>
        <translation>Ausrichtung</translation>
    </message>
    <message>
        <source>Automatically</source>
        <translation>Automatisch</translation>
    </message>
    <message>
        <source>Landscape</source>
        <translation>Querformat</translation>
    </message>
    <message>
        <source>Portrait</source>
        <translation>Hochformat</translation>
    </message>
    <message>
        <source>Actions</source>
        <translation>Aktionen</translation>
    </message>
    <message>
        <source>Zap to channel</source>
        <translation>Auf Kanal umschalten</translation>
    </message>
    <message>
        <source>Channel list click</source>
        <translation>Klick in der Kanalliste</translation>
    </message>
    <message>
        <source>Channel list double click</source>
        <translation>Doppelklick in der Kanalliste</translation>
    </message>
    <message>
        <source>Zap to movie</source>
        <translation>Aufnahme abspielen</translation>
    </message>
    <message>
        <source>Movie list click</source>
        <translation>Klick in der Aufnahmeliste</translation>
    </message>
    <message>
        <source>Movie list double click</source>
        <translation>Doppelklick in der Aufnahmeliste</translation>
    </message>
    <message>
        <source>Panel click</source>
        <translation>Klick auf das Bedienfeld</translation>
    </message>
    <message>
        <source>Send OK Command</source>
        <translation>OK-Befehl senden</translation>
    </message>
    <message>
        <source>Send Exit Command</source>
        <translation>Exit-Befehl senden</translation>
    </message>
    <message>
        <source>Watching on this computer</source>
        <translation>Ansehen auf diesem Computer</translation>
    </message>
    <message>
        <source>Player command:</source>
        <translation>Player-Befehl:</translation>
    </message>
    <message>
        <source>The program that plays the receiver&apos;s streams; %u stands for the stream&apos;s address, otherwise it goes last.</source>
        <translation>Das Programm, das die Streams des Receivers abspielt; %u steht für die Adresse des Streams, sonst kommt sie ans Ende.</translation>
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
    <name>StreamPlayer</name>
    <message>
        <source>No player for the stream was found. Install mpv or VLC, or name a player command in the settings.</source>
        <translation>Es wurde kein Player für den Stream gefunden. Installieren Sie mpv oder VLC, oder geben Sie in den Einstellungen einen Player-Befehl an.</translation>
    </message>
    <message>
        <source>The player &quot;%1&quot; could not be started.</source>
        <translation>Der Player „%1“ konnte nicht gestartet werden.</translation>
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
    <message>
        <source>The receiver refused the command.</source>
        <translation>Der Receiver hat den Befehl abgelehnt.</translation>
    </message>
    <message>
        <source>The receiver refused the command: %1</source>
        <translation>Der Receiver hat den Befehl abgelehnt: %1</translation>
    </message>
    <message>
        <source>The receiver&apos;s answer to the command could not be read; it may not have been carried out.</source>
        <translation>Die Antwort des Receivers auf den Befehl war nicht lesbar; vielleicht wurde er nicht ausgeführt.</translation>
    </message>
    <message>
        <source>The receiver did not answer after the wake-up call.
Check that Wake-on-LAN is switched on in its network settings.</source>
        <translation>Der Receiver hat nach dem Weckruf nicht geantwortet.
Bitte prüfen, ob Wake-on-LAN in seinen Netzwerkeinstellungen eingeschaltet ist.</translation>
    </message>
    <message>
        <source>The receiver asks for a session id with every request but accepted none.</source>
        <translation>Der Receiver verlangt bei jeder Anfrage eine Sitzungskennung, hat aber keine angenommen.</translation>
    </message>
    <message>
        <source>The receiver asks for a session id with every request but accepted none: %1</source>
        <translation>Der Receiver verlangt bei jeder Anfrage eine Sitzungskennung, hat aber keine angenommen: %1</translation>
    </message>
    <message>
        <source>No receiver is set up.</source>
        <translation>Es ist kein Receiver eingerichtet.</translation>
    </message>
    <message>
        <source>Enigma1 receivers do not give the TV picture.</source>
        <translation>Enigma1-Receiver liefern das TV-Bild nicht.</translation>
    </message>
    <message>
        <source>The receiver gave no picture (HTTP %1).</source>
        <translation>Der Receiver lieferte kein Bild (HTTP %1).</translation>
    </message>
    <message>
        <source>The receiver gave no picture: it did not answer.</source>
        <translation>Der Receiver lieferte kein Bild: er hat nicht geantwortet.</translation>
    </message>
    <message>
        <source>The receiver&apos;s answer is no picture.</source>
        <translation>Die Antwort des Receivers ist kein Bild.</translation>
    </message>
    <message>
        <source>Enigma1 receivers offer no stream to watch on this computer.</source>
        <translation>Enigma1-Receiver bieten keinen Stream zum Ansehen auf diesem Computer.</translation>
    </message>
    <message>
        <source>The receiver is recording and is not zapped; %1 may not play.</source>
        <translation>Der Receiver nimmt auf und wird nicht umgeschaltet; %1 spielt vielleicht nicht.</translation>
    </message>
    <message>
        <source>Zapping to %1 before watching it...</source>
        <translation>Schalte vor dem Ansehen auf %1 um...</translation>
    </message>
    <message>
        <source>The receiver has not said yet which channel it shows.</source>
        <translation>Der Receiver hat noch nicht gesagt, welchen Kanal er zeigt.</translation>
    </message>
    <message>
        <source>The receiver did not say where the recording &quot;%1&quot; is stored.</source>
        <translation>Der Receiver hat nicht gesagt, wo die Aufnahme „%1“ gespeichert ist.</translation>
    </message>
    <message>
        <source>There is no bouquet to save.</source>
        <translation>Es gibt kein Bouquet zum Speichern.</translation>
    </message>
    <message>
        <source>The playlist could not be written to %1: %2</source>
        <translation>Die Wiedergabeliste konnte nicht nach %1 geschrieben werden: %2</translation>
    </message>
    <message>
        <source>The receiver did not zap to %1; it is not played.</source>
        <translation>Der Receiver hat nicht auf %1 umgeschaltet; es wird nicht abgespielt.</translation>
    </message>
    <message>
        <source>%1 plays on this computer.</source>
        <translation>%1 spielt auf diesem Computer.</translation>
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
<context>
    <name>TimerWidget</name>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>Clean up</source>
        <translation>Aufräumen</translation>
    </message>
    <message>
        <source>The timer list could not be loaded. The timers shown are those of the last list.</source>
        <translation>Die Timerliste konnte nicht geladen werden. Angezeigt werden die Timer der letzten Liste.</translation>
    </message>
</context>
<context>
    <name>TvPictureView</name>
    <message>
        <source>No picture yet.</source>
        <translation>Noch kein Bild.</translation>
    </message>
    <message>
        <source>Refresh picture</source>
        <translation>Bild aktualisieren</translation>
    </message>
    <message>
        <source>Save picture...</source>
        <translation>Bild speichern...</translation>
    </message>
    <message>
        <source>TV picture</source>
        <translation>TV-Bild</translation>
    </message>
    <message>
        <source>The receiver&apos;s answer is no picture.</source>
        <translation>Die Antwort des Receivers ist kein Bild.</translation>
    </message>
    <message>
        <source>No picture: %1</source>
        <translation>Kein Bild: %1</translation>
    </message>
    <message>
        <source>The picture could not be saved to %1.</source>
        <translation>Das Bild konnte nicht unter %1 gespeichert werden.</translation>
    </message>
    <message>
        <source>Save picture</source>
        <translation>Bild speichern</translation>
    </message>
    <message>
        <source>JPEG pictures (*.jpg)</source>
        <translation>JPEG-Bilder (*.jpg)</translation>
    </message>
    <message>
        <source>PNG pictures (*.png)</source>
        <translation>PNG-Bilder (*.png)</translation>
    </message>
</context>
<context>
    <name>WakeOnLan</name>
    <message>
        <source>The receiver&apos;s MAC address is not known. Connect to it once while it is on, or enter it in the profile.</source>
        <translation>Die MAC-Adresse des Receivers ist nicht bekannt. Bitte einmal verbinden, während er eingeschaltet ist, oder sie im Profil eintragen.</translation>
    </message>
    <message>
        <source>The wake-up address &quot;%1&quot; is not an IP address with an optional port.</source>
        <translation>Die Weckadresse &quot;%1&quot; ist keine IP-Adresse mit optionalem Port.</translation>
    </message>
    <message>
        <source>The wake-up call could not be sent: %1</source>
        <translation>Der Weckruf konnte nicht gesendet werden: %1</translation>
    </message>
</context>
</TS>
