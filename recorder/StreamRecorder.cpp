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
    connect(&sckReceiver, &QTcpSocket::connected, this, &StreamRecorder::OnConnected);
    connect(&sckReceiver, &QTcpSocket::readyRead, this, &StreamRecorder::OnReadyRead);
    connect(&sckReceiver, &QTcpSocket::disconnected, this, &StreamRecorder::OnDisconnected);
    connect(&sckReceiver, &QTcpSocket::errorOccurred, this, &StreamRecorder::OnError);
}

StreamRecorder::~StreamRecorder()
{
    sckReceiver.disconnect(this);
    m_File.CloseOutFile();
}

void StreamRecorder::Tune(const QString& ServerIP, quint16 Port, const QString& Path)
{
    m_Relay.DownServer();
    bHeaderDone = false;
    m_Header.clear();
    m_HeaderReader.Reset();
    m_Parser.Reset(0);
    bInMeta = false;
    sPath = Path.isEmpty() ? QStringLiteral("/") : Path;
    if (m_RelayEnabled)
        m_Relay.StartServer();
    m_ErrorText.clear();
    m_Host = ServerIP;
    // Dropping an earlier connection is not the stream ending: keep its notifications out.
    m_Ended = true;
    sckReceiver.abort();
    m_Ended = false;
    // A large kernel buffer lets each wake-up take a large arrival from a fast server.
    sckReceiver.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4 * 1024 * 1024);
    sckReceiver.connectToHost(ServerIP, Port);
}

void StreamRecorder::OnConnected()
{
    emit StatusText(QStringLiteral("Connected"));
    const auto request =
        IcyRequest(m_Host.toLatin1().toStdString(), sPath.toLatin1().toStdString());
    sckReceiver.write(request.data(), static_cast<qint64>(request.size()));
}

void StreamRecorder::OnReadyRead()
{
    const QByteArray sData = sckReceiver.readAll();
    DataArrived(View(sData));
}

void StreamRecorder::DataArrived(std::string_view sData)
{
    if (!bHeaderDone) {
        switch (m_HeaderReader.Append(sData)) {
        case IcyHeaderReader::Result::NeedMore:
            return;
        case IcyHeaderReader::Result::TooLong:
            Fail(QStringLiteral("no ICY header within %1 bytes").arg(kMaxHeaderBytes));
            return;
        case IcyHeaderReader::Result::Accepted:
            break;
        }
        const auto header = m_HeaderReader.sHeader();
        m_Header = QByteArray(header.data(), static_cast<qsizetype>(header.size()));
        m_Parser.Reset(MetaIntOf(header));
        sData = m_HeaderReader.AfterHeader();
        // Accepted before the texts go out, so that whoever shows them knows the station's.
        bHeaderDone = true;
        bInMeta = false;
        ShowInfo(header);
        m_Relay.SetHeader(m_Header);
        m_Relay.StartCheck(sData, bInMeta, m_Parser.AtIntervalStart());
        emit HeaderAccepted();
    } else if (m_Relay.Streaming()) {
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

void StreamRecorder::OnDisconnected()
{
    if (m_Ended)
        return;
    // Whatever arrived with the close is still part of the stream.
    if (sckReceiver.bytesAvailable() > 0)
        OnReadyRead();
    m_Ended = true;
    emit StatusText(QStringLiteral("Disconnected"));
    emit StreamEnded();
}

void StreamRecorder::OnError(QAbstractSocket::SocketError error)
{
    // The peer's close is an ending, not a failure; disconnected() reports it.
    if (error == QAbstractSocket::RemoteHostClosedError || m_Ended)
        return;
    Fail(sckReceiver.errorString());
}

void StreamRecorder::Fail(const QString& why)
{
    m_Ended = true;
    m_ErrorText = why;
    sckReceiver.abort();
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
    if (const auto caption = recorder::TitleCaption(sMetaData)) {
        m_TitleCaption = Shown(*caption);
        emit TitleText(m_TitleCaption);
    }
    // Servers repeat the title in every block: only a new one starts a new song file.
    if (m_Recording && m_BySong && m_TitleCaption != m_FileTitle)
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
    if (!m_File.CreateOutFile(m_Folder, name, fallback)) {
        StopOnFileError();
        return false;
    }
    emit FileOpened(m_File.FileName());
    return true;
}

bool StreamRecorder::CreateSongFile()
{
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
