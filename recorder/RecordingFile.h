// The recording file: one open file at a time, written with the audio bytes only, never placed
// over an existing file and never outside the folder it was asked for.
#pragma once

#include <QDateTime>
#include <QFile>
#include <QString>

#include <string>
#include <string_view>

namespace recorder {

// A name that stays inside its folder: no path separators or control characters, no leading dots
// or blanks, short enough for the file system with room for a " (n)" to make it free. Returns ""
// when nothing usable is left of the stem; the extension (".mp3" and the like) is kept apart.
QString SafeFileName(const QString& name);

// Where recordings go while the user has chosen no folder: the user's music folder (made when it
// is missing), else the home folder. Never the root folder, which a user cannot write.
QString DefaultRecordFolder();

// "File" + seconds since midnight + ".mp3": the name offered for a new recording.
QString DefaultFileName(const QTime& now);

// "Size: " + kilobytes + " kb." and "Time: " + minutes + ":" + two-digit seconds.
QString SizeText(qint64 bytes);
QString TimeText(qint64 seconds);

class RecordingFile
{
  public:
    ~RecordingFile() { CloseOutFile(); }

    // Opens a new file in folder (DefaultRecordFolder when empty) named after name (made safe; a
    // free name beside it when taken; fallbackStem when nothing of the name is usable). False,
    // with ErrorText, when it cannot.
    bool CreateOutFile(const QString& folder, const QString& name, const QString& fallbackStem);
    // Appends the bytes unchanged. They are gathered and reach the file at the next Flush (one
    // write per arrival instead of one per audio interval). False when a write failed; the file
    // is closed then.
    bool WriteOutFile(std::string_view sBuff);
    bool Flush();
    void CloseOutFile();

    bool IsOpen() const { return iFileNum.isOpen(); }
    QString FileName() const { return m_Name; }
    QString ErrorText() const { return m_Error; }
    qint64 BytesWritten() const { return lBytesWritten; }
    qint64 ElapsedSeconds(const QDateTime& now) const;

  private:
    QFile iFileNum;
    // 64 bits: a recording passes 2 GiB in a few hours at high bitrates.
    qint64 lBytesWritten = 0;
    QDateTime dStartTime;
    QString m_Name;
    QString m_Path;
    QString m_Error;
    std::string m_Pending;
};

} // namespace recorder
