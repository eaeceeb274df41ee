#include "StreamRecorder.h"

#include "Id3Tag.h"
#include "Text.h"

#include <QCoreApplication>

namespace recorder {
namespace {

// Stream texts as the labels show them, and the one reading of their bytes the file names share.
QString Shown(std::string_view bytes)
{
    return core::ShowBytes(bytes);
}

// The parser's own words in the user's language. The station's texts stay as sent, and the
// untranslated caption goes on naming the song files and telling one song from the next.
QString Translated(const char* text)
{
    return QCoreApplication::translate("recorder::StreamRecorder", text);
}

QString StationShown(const QString& name)
{
    const char* unknown = QT_TRANSLATE_NOOP("recorder::StreamRecorder", "unknown station");
    return name == QLatin1String(unknown) ? Translated(unknown) : name;
}

QString BitrateShown(const QString& text)
{
    const char* unknown = QT_TRANSLATE_NOOP("recorder::StreamRecorder", "Bitrate: unknown bitrate");
    const QLatin1String before("Bitrate: "), after(" Kbps");
    if (text == QLatin1String(unknown))
        return Translated(unknown);
    if (!text.startsWith(before) || !text.endsWith(after))
        return text;
    const QString rate = text.mid(before.size(), text.size() - before.size() - after.size());
    return Translated(QT_TRANSLATE_NOOP("recorder::StreamRecorder", "Bitrate: %1 Kbps")).arg(rate);
}

QString TitleShown(const QString& caption)
{
    const char* none = QT_TRANSLATE_NOOP("recorder::StreamRecorder", "Title: Title not Available");
    const QLatin1String before("Title: ");
    if (caption == QLatin1String(none))
        return Translated(none);
    if (!caption.startsWith(before))
        return caption;
    return Translated(QT_TRANSLATE_NOOP("recorder::StreamRecorder", "Title: ")) +
           caption.mid(before.size());
}

std::string_view View(const QByteArray& bytes)
{
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

} // namespace

StreamRecorder::StreamRecorder(quint16 relayPort, QObject* parent)
    : QObject(parent), m_Relay(relayPort)
{
}

StreamRecorder::~StreamRecorder()
{
    m_Connection.Close();
    m_File.CloseOutFile();
}

void StreamRecorder::Tune(const QString& ServerIP, quint16 Port, const QString& Path)
{
    Tune(StreamAddress{false, ServerIP, Port, Path.isEmpty() ? QStringLiteral("/") : Path});
}

void StreamRecorder::Tune(const StreamAddress& address)
{
    m_Relay.DownServer();
    bHeaderDone = false;
    m_Header.clear();
    m_Parser.Reset(0);
    bInMeta = false;
    m_AwaitTitle = false;
    if (m_RelayEnabled)
        m_Relay.StartServer();
    m_ErrorText.clear();
    m_Refused = false;
    m_Segmented = false;
    m_AcceptPending = false;
    m_Connection.Open(address);
}

void StreamRecorder::ConnectionUp()
{
    emit StatusText(tr("Connected"));
}

void StreamRecorder::HeaderReceived(std::string_view header, const QString& extension, bool resumed)
{
    m_Header = QByteArray(header.data(), static_cast<qsizetype>(header.size()));
    m_Extension = extension;
    m_Parser.Reset(MetaIntOf(header));
    bInMeta = false;
    // Joined midway: what comes now is not the start of the song playing.
    m_Song.NewSong(false);
    if (resumed) {
        // The relayed player counted intervals on the old connection: it joins afresh.
        m_Relay.DownServer();
        if (m_RelayEnabled)
            m_Relay.StartServer();
        SongCut();
    }
    // Accepted before the texts go out, so that whoever shows them knows the station's.
    bHeaderDone = true;
    ShowInfo(header);
    m_Relay.SetHeader(m_Header);
    // A segmented stream's first segment names its song before anyone opens a file for it.
    m_Segmented = m_Connection.Segmented();
    m_AcceptPending = !resumed && m_Segmented;
    if (!resumed && !m_Segmented)
        emit HeaderAccepted();
}

// The audio does not go on from where it was: a song being saved ends with what it has (the rest
// of it is lost); a song cut this way keeps what it has, and the next title starts the next file.
void StreamRecorder::SongCut()
{
    m_Song.NewSong(false);
    if (m_Recording && m_SaveOne) {
        const QString name = m_File.FileName();
        StopRecording();
        emit SongSaved(name);
    }
    if (m_Recording && m_BySong) {
        if (m_File.Flush())
            m_File.CloseOutFile();
        else
            StopOnFileError();
        m_AwaitTitle = true;
        m_JoinedTitle = false;
    }
}

// A segment's title holds for the whole segment: a song file starts at the first byte of the
// segment whose title differs, so the split is as exact as the station's segments are long (a
// few seconds), not to the sample.
void StreamRecorder::SegmentReceived(std::string_view audio, std::string_view title)
{
    TitleArrived("Title: " + std::string(title), false);
    if (m_AcceptPending) {
        m_AcceptPending = false;
        emit HeaderAccepted();
    }
    m_Relay.ForwardSegment(audio, title);
    WriteOutFile(audio);
    if (!m_File.Flush())
        StopOnFileError();
    if (m_File.IsOpen())
        emit Progress();
}

void StreamRecorder::SegmentsMissed(const QString& notice)
{
    emit NoticeText(notice);
    SongCut();
}

void StreamRecorder::Notice(const QString& text)
{
    emit NoticeText(text);
}

void StreamRecorder::DataReceived(std::string_view sData)
{
    if (m_Relay.Streaming()) {
        m_Relay.Forward(sData);
    } else {
        // An arrival that itself starts an interval is a boundary too: forward it whole.
        m_Relay.StartCheck(sData, bInMeta, m_Parser.AtIntervalStart());
    }
    while (!sData.empty()) {
        sData = m_Parser.ProcessBuffer(sData, bInMeta);
        m_Relay.StartCheck(sData, bInMeta, m_Parser.AtIntervalStart());
    }
    if (!m_File.Flush())
        StopOnFileError();
    if (m_File.IsOpen())
        emit Progress();
}

void StreamRecorder::ConnectionWaiting()
{
    if (!m_File.Flush())
        StopOnFileError();
    emit StatusText(tr("Reconnecting\u2026"));
}

void StreamRecorder::ConnectionEnded()
{
    emit StatusText(tr("Disconnected"));
    emit StreamEnded();
}

void StreamRecorder::ConnectionFailed(const QString& why)
{
    m_ErrorText = why;
    emit StatusText(tr("Error ocurred"));
    emit StreamFailed();
}

// A video or a web page written into ".mp3" is no recording: said where the station's name would
// be, and no file is made from it.
void StreamRecorder::StreamRefused(const QString& why)
{
    m_ErrorText = why;
    m_Refused = true;
    if (m_Recording) {
        StopRecording();
        emit FileFailed(why);
    }
    emit StatusText(why.left(1).toUpper() + why.mid(1));
    emit StreamFailed();
}

void StreamRecorder::ShowInfo(std::string_view sIcy)
{
    m_Station = Shown(recorder::StationText(sIcy));
    emit StationName(StationShown(m_Station));
    emit BitrateText(BitrateShown(Shown(recorder::BitrateText(sIcy))));
}

void StreamRecorder::ShowTitle(std::string_view sMetaData)
{
    TitleArrived(recorder::TitleCaption(sMetaData), true);
}

// sayRepeats: ICY servers repeat a title only when they mean it; HLS repeats it with every segment.
void StreamRecorder::TitleArrived(const std::optional<std::string>& caption, bool sayRepeats)
{
    const QString before = m_TitleCaption;
    if (caption) {
        m_TitleCaption = Shown(*caption);
        if (sayRepeats || m_TitleCaption != before)
            emit TitleText(TitleShown(m_TitleCaption));
    }
    const bool newSong = m_TitleCaption != before;
    if (newSong)
        m_Song.NewSong(true);
    if (m_SaveOne) {
        if (newSong) {
            // The saved song is complete.
            const QString name = m_File.FileName();
            StopRecording();
            emit SongSaved(name);
        }
        return;
    }
    if (!m_Recording || !m_BySong)
        return;
    // After a reconnect the first title names the song joined midway: only the next one starts
    // a file, so no song file begins in the middle of its song.
    if (m_AwaitTitle && !m_JoinedTitle) {
        if (caption) {
            m_FileTitle = m_TitleCaption;
            m_JoinedTitle = true;
        }
        return;
    }
    // Servers repeat the title in every block: only a new one starts a new song file.
    if (m_TitleCaption != m_FileTitle)
        CreateSongFile();
}

void StreamRecorder::WriteOutFile(std::string_view sBuff)
{
    if (m_KeepSong)
        m_Song.Append(sBuff);
    if (!m_File.WriteOutFile(sBuff))
        StopOnFileError();
}

// A recording that cannot be written is over: saying "recording" while nothing reaches the disk
// would lose the user's recording silently.
void StreamRecorder::StopOnFileError()
{
    const QString why = m_File.ErrorText();
    m_Recording = false;
    m_SaveOne = false;
    m_File.CloseOutFile();
    emit FileFailed(why);
}

bool StreamRecorder::CreateOutFile(const QString& name)
{
    if (m_Refused) {
        m_Recording = false;
        m_SaveOne = false;
        emit FileFailed(m_ErrorText);
        return false;
    }
    if (!m_File.Flush()) {
        StopOnFileError();
        return false;
    }
    const QString fallback = DefaultFileName(QTime::currentTime()).chopped(4);
    if (!m_File.CreateOutFile(m_Folder, WithExtension(name), fallback)) {
        StopOnFileError();
        return false;
    }
    emit FileOpened(m_File.FileName());
    return true;
}

// The file's kind follows the stream: the ".mp3" the names are offered with becomes ".aac" or
// ".ogg" for those streams.
QString StreamRecorder::WithExtension(const QString& name) const
{
    if (m_Extension == QLatin1String(".mp3") ||
        !name.endsWith(QLatin1String(".mp3"), Qt::CaseInsensitive))
        return name;
    return name.chopped(4) + m_Extension;
}

bool StreamRecorder::CreateSongFile()
{
    m_AwaitTitle = false;
    m_FileTitle = m_TitleCaption;
    // Cut from the caption as the label shows it, so the file reads as the title does. An HLS
    // title is the whole title, colons and all.
    const QByteArray caption = m_TitleCaption.toUtf8();
    const auto name = SongFileName(View(caption));
    const QString fileName =
        m_Segmented ? SongTitle() + QStringLiteral(".mp3")
                    : QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    if (!CreateOutFile(fileName))
        return false;
    WriteSongTag();
    return m_File.IsOpen();
}

bool StreamRecorder::StartRecording(const QString& folder, const QString& name)
{
    m_Folder = folder;
    m_SaveOne = false;
    m_Recording = CreateOutFile(name);
    m_FileTitle = m_TitleCaption;
    return m_Recording;
}

bool StreamRecorder::StartSongRecording(const QString& folder)
{
    m_Folder = folder;
    m_SaveOne = false;
    m_Recording = CreateSongFile();
    if (m_Recording && m_KeepSong)
        WriteSongSoFar();
    return m_Recording;
}

bool StreamRecorder::SaveCurrentSong(const QString& folder)
{
    // Already saving this song: it is one file.
    if (m_SaveOne && m_Recording)
        return true;
    m_Folder = folder;
    m_Recording = CreateSongFile();
    m_SaveOne = m_Recording;
    if (m_Recording)
        WriteSongSoFar();
    return m_Recording;
}

// What has been heard of the current song goes first, the live audio after it.
void StreamRecorder::WriteSongSoFar()
{
    if (!m_File.WriteOutFile(m_Song.Audio()) || !m_File.Flush())
        StopOnFileError();
}

// The caption reads "Title: 'Artist - Title'" for ICY, the stream's value with its quotes, and
// "Title: Artist - Title" for HLS, the title as the segment gave it.
QString StreamRecorder::SongTitle() const
{
    if (m_Segmented)
        return m_TitleCaption.mid(m_TitleCaption.indexOf(QLatin1Char(':')) + 2);
    QString title = m_TitleCaption.mid(m_TitleCaption.indexOf(QLatin1Char(':')) + 1).trimmed();
    if (title.size() >= 2 && title.startsWith(QLatin1Char('\'')) &&
        title.endsWith(QLatin1Char('\'')))
        title = title.mid(1, title.size() - 2);
    return title;
}

void StreamRecorder::WriteSongTag()
{
    if (!m_SongTags || m_Extension != QLatin1String(".mp3"))
        return;
    const QString title = SongTitle();
    if (title.isEmpty())
        return;
    const QByteArray utf8 = title.toUtf8(), station = m_Station.toUtf8();
    const auto tag = Id3v24Tag(TagsFromStreamTitle(View(utf8), View(station)));
    if (!m_File.WriteOutFile(tag))
        StopOnFileError();
}

void StreamRecorder::StopRecording()
{
    m_Recording = false;
    m_SaveOne = false;
    m_File.CloseOutFile();
}

} // namespace recorder
