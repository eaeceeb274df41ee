<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>NowPlaying</name>
    <message>
        <source>%1 kbps</source>
        <translation>%1 kbit/s</translation>
    </message>
    <message>
        <source>Connecting…</source>
        <translation>Verbinden…</translation>
    </message>
    <message>
        <source>Playing</source>
        <translation>Wiedergabe</translation>
    </message>
    <message>
        <source>Stream ended</source>
        <translation>Stream beendet</translation>
    </message>
    <message>
        <source>Reconnecting in %1 s…</source>
        <translation>Neuer Versuch in %1 s…</translation>
    </message>
    <message>
        <source>Reconnecting…</source>
        <translation>Erneuter Verbindungsversuch…</translation>
    </message>
    <message>
        <source>Stopped</source>
        <translation>Gestoppt</translation>
    </message>
</context>
<context>
    <name>PlayerKeys</name>
    <message>
        <source>%1 (%2)</source>
        <extracomment>A control&apos;s tooltip and the keys that press it, as in &quot;Mute (M)&quot;.</extracomment>
        <translation>%1 (%2)</translation>
    </message>
</context>
<context>
    <name>app::frmLoad</name>
    <message>
        <source>Loading...</source>
        <translation>Wird geladen...</translation>
    </message>
    <message>
        <source>Connecting...</source>
        <translation>Verbindung wird hergestellt...</translation>
    </message>
    <message>
        <source>Host resolved.</source>
        <translation>Server gefunden.</translation>
    </message>
    <message>
        <source>Updateing channel list....</source>
        <translation>Senderliste wird aktualisiert...</translation>
    </message>
    <message>
        <source>Loading player...</source>
        <translation>Player wird geladen...</translation>
    </message>
    <message>
        <source>Update successfully!!</source>
        <translation>Aktualisierung erfolgreich!</translation>
    </message>
    <message>
        <source>Error </source>
        <translation>Fehler </translation>
    </message>
</context>
<context>
    <name>app::frmSettings</name>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Server URL</source>
        <translation>Server-Adresse</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Edit server URL</source>
        <translation>Server-Adresse bearbeiten</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Save server URL</source>
        <translation>Server-Adresse speichern</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Do not change te ServerURL if not necessary</source>
        <translation>Ändern Sie die Server-Adresse nur, wenn es nötig ist.</translation>
    </message>
    <message>
        <source>ServetURL has been changed</source>
        <translation>Die Server-Adresse wurde geändert.</translation>
    </message>
</context>
<context>
    <name>core::SaveSetting</name>
    <message>
        <source>Your change could not be saved in &quot;%1&quot;: the folder may be read-only or the disk full. It holds until the program ends.</source>
        <translation>Ihre Änderung konnte nicht in „%1“ gespeichert werden: Der Ordner ist vielleicht schreibgeschützt oder der Datenträger voll. Sie gilt, bis das Programm beendet wird.</translation>
    </message>
</context>
<context>
    <name>directory</name>
    <message>
        <source>Could not reach %1</source>
        <translation>%1 ist nicht erreichbar</translation>
    </message>
    <message>
        <source>No channel list at %1</source>
        <translation>Keine Senderliste unter %1</translation>
    </message>
    <message>
        <source>showing the list from %1</source>
        <translation>angezeigt wird die Liste vom %1</translation>
    </message>
</context>
<context>
    <name>directory::frmTray</name>
    <message>
        <source>You are no longer connected to Internet!!. Please active internet connection and try again</source>
        <translation>Sie sind nicht mehr mit dem Internet verbunden. Bitte stellen Sie eine Internetverbindung her und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>Channel type(00)</source>
        <translation>Kategorien (00)</translation>
    </message>
    <message>
        <source>Channels (00)</source>
        <translation>Sender (00)</translation>
    </message>
    <message>
        <source>Click for more information</source>
        <translation>Klicken Sie für weitere Informationen</translation>
    </message>
    <message>
        <source>Server address…</source>
        <translation>Server-Adresse…</translation>
    </message>
    <message>
        <source>Server address</source>
        <translation>Server-Adresse</translation>
    </message>
    <message>
        <source>Channel type</source>
        <translation>Kategorien</translation>
    </message>
    <message>
        <source>Channels</source>
        <translation>Sender</translation>
    </message>
    <message>
        <source>Channel directory</source>
        <translation>Senderverzeichnis</translation>
    </message>
    <message>
        <source>Channel types</source>
        <translation>Kategorien</translation>
    </message>
</context>
<context>
    <name>platform::InetTransfer</name>
    <message>
        <source>Timed out: no answer for %1 s</source>
        <translation>Zeitüberschreitung: seit %1 s keine Antwort</translation>
    </message>
    <message>
        <source>Timed out after %1 s</source>
        <translation>Zeitüberschreitung nach %1 s</translation>
    </message>
    <message>
        <source>Invalid address</source>
        <translation>Ungültige Adresse</translation>
    </message>
    <message>
        <source>Response larger than %1 bytes</source>
        <translation>Antwort größer als %1 Bytes</translation>
    </message>
    <message>
        <source>Cancelled</source>
        <translation>Abgebrochen</translation>
    </message>
</context>
<context>
    <name>platform::MpvEngine</name>
    <message>
        <source>The media engine could not be started</source>
        <translation>Die Medienwiedergabe konnte nicht gestartet werden</translation>
    </message>
</context>
<context>
    <name>platform::StreamError</name>
    <message>
        <source>Cannot connect to %1 (refused)</source>
        <translation>Keine Verbindung zu %1 (abgelehnt)</translation>
    </message>
    <message>
        <source>Cannot connect to %1 (no answer)</source>
        <translation>Keine Verbindung zu %1 (keine Antwort)</translation>
    </message>
    <message>
        <source>Cannot find %1</source>
        <translation>%1 nicht gefunden</translation>
    </message>
    <message>
        <source>%1 answered %2</source>
        <translation>%1 antwortete: %2</translation>
    </message>
    <message>
        <source>The stream cannot be played</source>
        <translation>Der Stream kann nicht wiedergegeben werden</translation>
    </message>
</context>
<context>
    <name>player::FrmSysTray</name>
    <message>
        <source>Show</source>
        <translation>Anzeigen</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
</context>
<context>
    <name>player::NowPlayingCard</name>
    <message>
        <source>Now playing</source>
        <translation>Aktuelle Wiedergabe</translation>
    </message>
    <message>
        <source>Click to copy the title</source>
        <translation>Klicken, um den Titel zu kopieren</translation>
    </message>
    <message>
        <source>Copy title</source>
        <translation>Titel kopieren</translation>
    </message>
    <message>
        <source>Choose a channel in the directory</source>
        <translation>Wählen Sie einen Sender im Senderverzeichnis</translation>
    </message>
    <message>
        <source>Heard this session</source>
        <translation>In dieser Sitzung gehört</translation>
    </message>
</context>
<context>
    <name>player::frmAbout</name>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>player::frmInfoViewer</name>
    <message>
        <source>Browser</source>
        <translation>Browser</translation>
    </message>
    <message>
        <source>Web pages cannot be shown: the web engine of this installation could not be loaded.</source>
        <translation>Webseiten können nicht angezeigt werden: Die Web-Engine dieser Installation konnte nicht geladen werden.</translation>
    </message>
    <message>
        <source>Home</source>
        <translation>Startseite</translation>
    </message>
    <message>
        <source>Go Back</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Go Forward</source>
        <translation>Vorwärts</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Neu laden</translation>
    </message>
    <message>
        <source>Inside</source>
        <translation>Inhalt</translation>
    </message>
    <message>
        <source>Move</source>
        <translation>Verschieben</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>player::frmMessage</name>
    <message>
        <source>Message</source>
        <translation>Nachricht</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>player::frmPlayer</name>
    <message>
        <source>Player</source>
        <translation>Player</translation>
    </message>
    <message>
        <source>Move</source>
        <translation>Verschieben</translation>
    </message>
    <message>
        <source>TV Player</source>
        <translation>TV-Player</translation>
    </message>
    <message>
        <source>Full screen</source>
        <translation>Vollbild</translation>
    </message>
    <message>
        <source>Go to system tray</source>
        <translation>In den Infobereich</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Stop/Play</source>
        <translation>Stopp/Wiedergabe</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>Stumm</translation>
    </message>
    <message>
        <source>Volume down</source>
        <translation>Leiser</translation>
    </message>
    <message>
        <source>Volume up</source>
        <translation>Lauter</translation>
    </message>
    <message>
        <source>Information viewer</source>
        <translation>Infoanzeige</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Radio recorder</source>
        <translation>Radio-Aufnahme</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Nachricht</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Please select a channel then try again</source>
        <translation>Bitte wählen Sie einen Sender und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>Channel directory</source>
        <translation>Senderverzeichnis</translation>
    </message>
</context>
<context>
    <name>recorder::HlsFollower</name>
    <message>
        <source>the master playlist names no variant</source>
        <translation>die Master-Wiedergabeliste nennt keine Variante</translation>
    </message>
    <message>
        <source>the https playlist names a plain http address (%1)</source>
        <translation>die https-Wiedergabeliste nennt eine unverschlüsselte http-Adresse (%1)</translation>
    </message>
    <message>
        <source>the playlist names an unusable address &quot;%1&quot;</source>
        <translation>die Wiedergabeliste nennt die unbrauchbare Adresse „%1“</translation>
    </message>
    <message>
        <source>larger than %1 bytes</source>
        <translation>größer als %1 Bytes</translation>
    </message>
    <message>
        <source>the server answered %1 %2</source>
        <translation>der Server antwortete %1 %2</translation>
    </message>
    <message>
        <source>the server sent less than the byte range</source>
        <translation>der Server sandte weniger als den Bytebereich</translation>
    </message>
    <message>
        <source>not a media playlist</source>
        <translation>keine Medien-Wiedergabeliste</translation>
    </message>
    <message>
        <source>the playlist %1: %2</source>
        <translation>die Wiedergabeliste %1: %2</translation>
    </message>
    <message>
        <source>The playlist failed (%1); trying again in %2 s</source>
        <translation>Die Wiedergabeliste schlug fehl (%1); neuer Versuch in %2 s</translation>
    </message>
    <message>
        <source>fMP4 (CMAF) segments (#EXT-X-MAP) are not recorded</source>
        <translation>fMP4-Segmente (CMAF, #EXT-X-MAP) werden nicht aufgenommen</translation>
    </message>
    <message>
        <source>SAMPLE-AES encrypted segments are not recorded</source>
        <translation>mit SAMPLE-AES verschlüsselte Segmente werden nicht aufgenommen</translation>
    </message>
    <message>
        <source>segments encrypted with %1 are not recorded</source>
        <translation>mit %1 verschlüsselte Segmente werden nicht aufgenommen</translation>
    </message>
    <message>
        <source>The station restarted its playlist</source>
        <translation>Der Sender hat seine Wiedergabeliste neu begonnen</translation>
    </message>
    <message>
        <source>its key: %1</source>
        <translation>sein Schlüssel: %1</translation>
    </message>
    <message>
        <source>the key %1 is %2 bytes, not 16</source>
        <translation>der Schlüssel %1 hat %2 Bytes statt 16</translation>
    </message>
    <message>
        <source>it does not decrypt with its key</source>
        <translation>es lässt sich mit seinem Schlüssel nicht entschlüsseln</translation>
    </message>
    <message>
        <source>its key is gone</source>
        <translation>sein Schlüssel ist nicht mehr da</translation>
    </message>
    <message>
        <source>Segment %1 failed (%2)</source>
        <translation>Segment %1 schlug fehl (%2)</translation>
    </message>
    <message>
        <source>Segment %1 failed (%2); trying again in %3 s</source>
        <translation>Segment %1 schlug fehl (%2); neuer Versuch in %3 s</translation>
    </message>
    <message>
        <source>1 segment (about %1 s) missed</source>
        <translation>1 Segment (etwa %1 s) fehlt</translation>
    </message>
    <message>
        <source>%1 segments (about %2 s) missed</source>
        <translation>%1 Segmente (etwa %2 s) fehlen</translation>
    </message>
    <message>
        <source>The station&apos;s playlist has not moved for %1 s</source>
        <translation>Die Wiedergabeliste des Senders steht seit %1 s still</translation>
    </message>
</context>
<context>
    <name>recorder::RecordingFile</name>
    <message>
        <source>cannot create %1: %2</source>
        <translation>%1 kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <source>no free file name for %1 in %2</source>
        <translation>kein freier Dateiname für %1 in %2</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>recorder::RelayServer</name>
    <message>
        <source>Winamp relay off: cannot open 127.0.0.1:%1 (%2)</source>
        <translation>Winamp-Weiterleitung aus: 127.0.0.1:%1 lässt sich nicht öffnen (%2)</translation>
    </message>
    <message>
        <source>Waiting for Winamp player open url &apos;127.0.0.1:%1&apos;...</source>
        <translation>Warte, bis Winamp die Adresse „127.0.0.1:%1“ öffnet...</translation>
    </message>
    <message>
        <source>Winamp Connected</source>
        <translation>Winamp verbunden</translation>
    </message>
    <message>
        <source>Winamp Disconnected</source>
        <translation>Winamp getrennt</translation>
    </message>
</context>
<context>
    <name>recorder::StreamConnection</name>
    <message>
        <source>no ICY header within %1 bytes</source>
        <translation>kein ICY-Kopf in den ersten %1 Bytes</translation>
    </message>
    <message>
        <source>the server answered &quot;%1&quot;</source>
        <translation>der Server antwortete „%1“</translation>
    </message>
    <message>
        <source>more than %1 redirects</source>
        <translation>mehr als %1 Weiterleitungen</translation>
    </message>
    <message>
        <source>redirected to an unusable address &quot;%1&quot;</source>
        <translation>weitergeleitet an die unbrauchbare Adresse „%1“</translation>
    </message>
    <message>
        <source>refused a redirect from https down to http</source>
        <translation>Weiterleitung von https auf http abgelehnt</translation>
    </message>
    <message>
        <source>not an audio stream (%1)</source>
        <translation>kein Audiostream (%1)</translation>
    </message>
    <message>
        <source>the server&apos;s chunked transfer coding is broken</source>
        <translation>die stückweise Übertragung (chunked) des Servers ist fehlerhaft</translation>
    </message>
    <message>
        <source>the playlist is larger than %1 bytes</source>
        <translation>die Wiedergabeliste ist größer als %1 Bytes</translation>
    </message>
    <message>
        <source>more than %1 playlists in a row</source>
        <translation>mehr als %1 Wiedergabelisten hintereinander</translation>
    </message>
    <message>
        <source>the playlist names no stream</source>
        <translation>die Wiedergabeliste nennt keinen Stream</translation>
    </message>
    <message>
        <source>certificate refused: %1</source>
        <translation>Zertifikat abgelehnt: %1</translation>
    </message>
</context>
<context>
    <name>recorder::StreamRecorder</name>
    <message>
        <source>unknown station</source>
        <translation>unbekannter Sender</translation>
    </message>
    <message>
        <source>Bitrate: unknown bitrate</source>
        <translation>Bitrate: unbekannt</translation>
    </message>
    <message>
        <source>Bitrate: %1 Kbps</source>
        <translation>Bitrate: %1 kbit/s</translation>
    </message>
    <message>
        <source>Title: Title not Available</source>
        <translation>Titel: nicht verfügbar</translation>
    </message>
    <message>
        <source>Title: </source>
        <translation>Titel: </translation>
    </message>
    <message>
        <source>Connected</source>
        <translation>Verbunden</translation>
    </message>
    <message>
        <source>Reconnecting…</source>
        <translation>Erneuter Verbindungsversuch…</translation>
    </message>
    <message>
        <source>Disconnected</source>
        <translation>Getrennt</translation>
    </message>
    <message>
        <source>Error ocurred</source>
        <translation>Ein Fehler ist aufgetreten</translation>
    </message>
</context>
<context>
    <name>recorder::frmRecord</name>
    <message>
        <source>STOP</source>
        <translation>STOPP</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Aufnahme</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Server IP:</source>
        <translation>Server-IP:</translation>
    </message>
    <message>
        <source>Port:</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>Output Path:</source>
        <translation>Zielordner:</translation>
    </message>
    <message>
        <source>Browse</source>
        <translation>Durchsuchen</translation>
    </message>
    <message>
        <source>Edit server URL</source>
        <translation>Server-Adresse bearbeiten</translation>
    </message>
    <message>
        <source>Create mp3 file by song (file name = title)</source>
        <translation>Eine MP3-Datei je Titel (Dateiname = Titel)</translation>
    </message>
    <message>
        <source>RECORD</source>
        <translation>AUFNEHMEN</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>Aufnahme</translation>
    </message>
    <message>
        <source>Some radio channel may not be recordable </source>
        <translation>Manche Sender lassen sich nicht aufnehmen </translation>
    </message>
    <message>
        <source>Radio</source>
        <translation>Radio</translation>
    </message>
    <message>
        <source>Title:</source>
        <translation>Titel:</translation>
    </message>
    <message>
        <source>Bitrate:</source>
        <translation>Bitrate:</translation>
    </message>
    <message>
        <source>File:</source>
        <translation>Datei:</translation>
    </message>
    <message>
        <source>Size:</source>
        <translation>Größe:</translation>
    </message>
    <message>
        <source>Time:</source>
        <translation>Zeit:</translation>
    </message>
    <message>
        <source>REC</source>
        <translation>REC</translation>
    </message>
    <message>
        <source>Winamp Status</source>
        <translation>Winamp-Status</translation>
    </message>
    <message>
        <source>File: </source>
        <translation>Datei: </translation>
    </message>
    <message>
        <source>New mp3 file</source>
        <translation>Neue MP3-Datei</translation>
    </message>
    <message>
        <source>Enter file name: </source>
        <translation>Dateiname: </translation>
    </message>
    <message>
        <source>Select a folder to save</source>
        <translation>Ordner für die Aufnahmen wählen</translation>
    </message>
    <message>
        <source>Size: %1 kb.</source>
        <translation>Größe: %1 KB</translation>
    </message>
    <message>
        <source>Time: %1:%2</source>
        <translation>Zeit: %1:%2</translation>
    </message>
</context>
</TS>
