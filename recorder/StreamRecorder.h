// The recorder's core, shared by the window and the command line: the receiving connection, the
// parser, the relay and the recording file. Front ends show the texts it reports and drive the
// record toggle.
#pragma once

#include "IcyParser.h"
#include "RecordingFile.h"
#include "RelayServer.h"
#include "SongMemory.h"
#include "StreamConnection.h"

#include <QObject>

namespace recorder {

class StreamRecorder : public QObject, private IcySink, private StreamReceiver
{
    Q_OBJECT
  public:
    explicit StreamRecorder(quint16 relayPort = kRelayPort, QObject* parent = nullptr);
    ~StreamRecorder() override;

    void Tune(const QString& ServerIP, quint16 Port, const QString& Path = {});
    void Tune(const StreamAddress& address);
    // Reopens a stream that drops or stalls, until the next Tune (see StreamConnection).
    void SetReconnect(bool on) { m_Connection.SetReconnect(on); }
    StreamConnection& Connection() { return m_Connection; }
    // For front ends that serve no local player: Tune then leaves the relay's port alone.
    void DisableRelay() { m_RelayEnabled = false; }
    // Why the stream failed, for a front end that explains it.
    QString ErrorText() const { return m_ErrorText; }

    // The record toggle pressed: a file named by the user, or named after the current title, in
    // folder (the user's music folder when empty). False (the toggle goes back) when the file
    // cannot be opened; FileFailed says why.
    bool StartRecording(const QString& folder, const QString& name);
    bool StartSongRecording(const QString& folder);
    // The toggle released: the file is closed.
    void StopRecording();
    // One file per song: a changed title closes the file and opens the next.
    void SetFileBySong(bool on) { m_BySong = on; }
    // Song files of MP3 streams start with an ID3v2.4 tag (title, artist, the station as album).
    void SetSongTags(bool on) { m_SongTags = on; }
    // Keeps the current song's audio (SongMemory) so that StartSongRecording and SaveCurrentSong
    // write it from its first byte, then go on live.
    void SetKeepSong(bool on) { m_KeepSong = on; }
    // The current song, from its first byte to the next title, as one file; nothing after it.
    // False when the file cannot be opened (FileFailed says why).
    bool SaveCurrentSong(const QString& folder);
    const SongMemory& Song() const { return m_Song; }

    bool Recording() const { return m_Recording; }
    const RecordingFile& File() const { return m_File; }
    RelayServer& Relay() { return m_Relay; }
    QString TitleCaption() const { return m_TitleCaption; }
    bool HeaderDone() const { return bHeaderDone; }

  signals:
    // lblRadio shows both: the connection's state, then the station's name once the header is in.
    // "Connected", "Disconnected", "Error ocurred", "Reconnecting…", "Not an audio stream (…)"
    void StatusText(const QString& text);
    void StationName(const QString& name);
    void BitrateText(const QString& text); // lblBitrate
    void TitleText(const QString& text);   // lblTitle
    void FileOpened(const QString& name);
    // A song saved by SaveCurrentSong is complete: its next title has come, the file is closed.
    void SongSaved(const QString& name);
    // A file could not be opened or written: recording has stopped and the file is closed.
    void FileFailed(const QString& message);
    void Progress(); // after an arrival while a file is open
    void HeaderAccepted();
    void StreamEnded();
    // Something the user should know that does not stop the recording (HLS: a retry, a gap).
    void NoticeText(const QString& text);
    void StreamFailed();

  private:
    void ConnectionUp() override;
    void HeaderReceived(std::string_view header, const QString& extension, bool resumed) override;
    void DataReceived(std::string_view sData) override;
    void SegmentReceived(std::string_view audio, std::string_view title) override;
    void SegmentsMissed(const QString& notice) override;
    void Notice(const QString& text) override;
    void ConnectionWaiting() override;
    void ConnectionEnded() override;
    void ConnectionFailed(const QString& why) override;
    void StreamRefused(const QString& why) override;
    void WriteOutFile(std::string_view sBuff) override;
    void ShowTitle(std::string_view sMetaData) override;
    void TitleArrived(const std::optional<std::string>& caption, bool sayRepeats);
    void SongCut();
    QString SongTitle() const;
    void ShowInfo(std::string_view sIcy);
    bool CreateOutFile(const QString& name);
    bool CreateSongFile();
    void StopOnFileError();
    QString WithExtension(const QString& name) const;
    void WriteSongTag();
    void WriteSongSoFar();

    RelayServer m_Relay;
    StreamConnection m_Connection{*this};
    IcyHeaderReader m_HeaderReader;
    IcyStreamParser m_Parser{*this};
    RecordingFile m_File;

    QByteArray m_Header;
    QString m_Extension = QStringLiteral(".mp3");
    bool bHeaderDone = false;
    bool bInMeta = false;
    bool m_RelayEnabled = true;
    // After a reconnect in by-song mode nothing is written until the next title starts a file.
    bool m_AwaitTitle = false;
    bool m_JoinedTitle = false;
    QString m_ErrorText;
    bool m_Refused = false; // the stream is not sound: nothing may be recorded from it
    // HLS: the audio comes in segments, each with its title (no ICY blocks); the front ends learn
    // of the header once the first segment has named its song.
    bool m_Segmented = false;
    bool m_AcceptPending = false;

    QString m_TitleCaption = QStringLiteral("Title:");
    QString m_Station;
    bool m_SongTags = false;
    bool m_KeepSong = false;
    bool m_SaveOne = false;
    SongMemory m_Song;
    QString m_Folder;
    bool m_Recording = false;
    bool m_BySong = false;
    // The caption the open by-song file was named after: only a different one rolls over.
    QString m_FileTitle;
};

} // namespace recorder
