// corvane-record: one station recorded from the command line, on the same core as the window.
#pragma once

#include "StreamRecorder.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <optional>

namespace recorder {

struct RecordOptions
{
    StreamAddress address;
    QString dir = QStringLiteral(".");
    QString name; // empty: the default "File" + seconds name
    bool bySong = false;
    bool relay = false;
    bool reconnect = false;    // reopen a stream that drops or stalls, until Ctrl-C
    bool tags = true;          // ID3v2.4 tags on song files of MP3 streams
    bool saveOnSignal = false; // write nothing until asked to save the current song
    QString caFile;            // authorities trusted besides the system's (PEM)
    quint64 maxBitrate = 0;    // kbps: HLS variants above it are left out; 0: no limit
};

// What the command line asks for: the options, the help or version text, or an error text for
// the user when the arguments do not make a usable command.
struct ParsedOptions
{
    std::optional<RecordOptions> options;
    QString error;
    QString help; // --help or --version was given: print this and stop
};
ParsedOptions ParseRecordOptions(const QStringList& arguments);

// Runs one recording; Finished carries the exit code once every file is closed.
class RecordCommand : public QObject
{
    Q_OBJECT
  public:
    RecordCommand(const RecordOptions& options, QTextStream& out, QTextStream& err);
    void Start();
    // Ctrl-C or SIGTERM: stop recording and finish normally.
    void Stop();
    // SIGUSR1 or Enter with --save-on-signal: the current song from its first byte, as one file.
    void SaveSong();

  signals:
    void Finished(int exitCode);

  private:
    void StartRecording();
    void Print(const QString& line);
    void Finish(int exitCode);

    RecordOptions m_Options;
    QTextStream& m_Out;
    QTextStream& m_Err;
    StreamRecorder m_Recorder;
    bool m_Finished = false;
};

} // namespace recorder
