#include "StreamRecorder.h"

#include "Text.h"

namespace recorder {
namespace {

// Stream texts as the labels show them, and the one reading of their bytes the file names share.
QString Shown(std::string_view bytes)
{
    return core::ShowBytes(bytes);
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
    m_Connection.Open(address);
}

void StreamRecorder::ConnectionUp()
{
    emit StatusText(QStringLiteral("Connected"));
}

void StreamRecorder::HeaderReceived(std::string_view header, const QString& extension, bool resumed)
{
    m_Header = QByteArray(header.data(), static_cast<qsizetype>(header.size()));
    m_Extension = extension;
    m_Parser.Reset(MetaIntOf(header));
    bInMeta = false;
    if (resumed) {
        // The relayed player counted intervals on the old connection: it joins afresh.
        m_Relay.DownServer();
        if (m_RelayEnabled)
            m_Relay.StartServer();
        // A song cut by the drop keeps what it has; the next title starts the next file.
        if (m_Recording && m_BySong) {
            if (m_File.Flush())
                m_File.CloseOutFile();
            else
                StopOnFileError();
            m_AwaitTitle = true;
            m_JoinedTitle = false;
        }
    }
    // Accepted before the texts go out, so that whoever shows them knows the station's.
    bHeaderDone = true;
    ShowInfo(header);
    m_Relay.SetHeader(m_Header);
    m_Relay.StartCheck({}, bInMeta, m_Parser.AtIntervalStart());
    if (!resumed)
        emit HeaderAccepted();
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
    emit StatusText(QString::fromUtf8("Reconnecting\u2026"));
}

void StreamRecorder::ConnectionEnded()
{
    emit StatusText(QStringLiteral("Disconnected"));
    emit StreamEnded();
}

void StreamRecorder::ConnectionFailed(const QString& why)
{
    m_ErrorText = why;
    emit StatusText(QStringLiteral("Error ocurred"));
    emit StreamFailed();
}

void StreamRecorder::ShowInfo(std::string_view sIcy)
{
    emit StationName(Shown(recorder::StationText(sIcy)));
    emit BitrateText(Shown(recorder::BitrateText(sIcy)));
}

void StreamRecorder::ShowTitle(std::string_view sMetaData)
{
    const auto caption = recorder::TitleCaption(sMetaData);
    if (caption) {
        m_TitleCaption = Shown(*caption);
        emit TitleText(m_TitleCaption);
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
    if (!m_File.WriteOutFile(sBuff))
        StopOnFileError();
}

// A recording that cannot be written is over: saying "recording" while nothing reaches the disk
// would lose the user's recording silently.
void StreamRecorder::StopOnFileError()
{
    const QString why = m_File.ErrorText();
    m_Recording = false;
    m_File.CloseOutFile();
    emit FileFailed(why);
}

bool StreamRecorder::CreateOutFile(const QString& name)
{
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
    // Cut from the caption as the label shows it, so the file reads as the title does.
    const QByteArray caption = m_TitleCaption.toUtf8();
    const auto name = SongFileName(View(caption));
    return CreateOutFile(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
}

bool StreamRecorder::StartRecording(const QString& folder, const QString& name)
{
    m_Folder = folder;
    m_Recording = CreateOutFile(name);
    m_FileTitle = m_TitleCaption;
    return m_Recording;
}

bool StreamRecorder::StartSongRecording(const QString& folder)
{
    m_Folder = folder;
    m_Recording = CreateSongFile();
    return m_Recording;
}

void StreamRecorder::StopRecording()
{
    m_Recording = false;
    m_File.CloseOutFile();
}

} // namespace recorder
