#include "StreamConnection.h"

#include <QSslConfiguration>

namespace recorder {
namespace {

std::string_view View(const QByteArray& bytes)
{
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

QString StatusLine(std::string_view head)
{
    return QString::fromLatin1(head.substr(0, head.find("\r\n")).data(),
                               static_cast<qsizetype>(head.find("\r\n")));
}

} // namespace

int DefaultReconnectWaitMs(int attempt)
{
    return 1000 * (attempt >= 6 ? 60 : 1 << attempt);
}

StreamConnection::StreamConnection(StreamReceiver& receiver, QObject* parent)
    : QObject(parent), m_Receiver(receiver)
{
    m_Stall.setSingleShot(true);
    m_Stall.setInterval(kStallMs);
    m_Wait.setSingleShot(true);
    connect(&m_Stall, &QTimer::timeout, this, &StreamConnection::OnStalled);
    connect(&m_Wait, &QTimer::timeout, this, [this] {
        m_Hops = 0;
        m_Lists = 0;
        m_Entries.clear();
        Connect(m_Original);
    });
    Listen(m_PlainSocket);
    Listen(m_Tls);
    connect(&m_PlainSocket, &QTcpSocket::connected, this, &StreamConnection::SendRequest);
    connect(&m_Tls, &QSslSocket::encrypted, this, &StreamConnection::SendRequest);
    connect(&m_Tls, &QSslSocket::sslErrors, this, [this](const QList<QSslError>& errors) {
        QStringList texts;
        for (const QSslError& error : errors)
            texts << error.errorString();
        m_SslErrors = texts.join(QStringLiteral("; "));
    });
}

StreamConnection::~StreamConnection()
{
    m_PlainSocket.disconnect(this);
    m_Tls.disconnect(this);
}

void StreamConnection::Listen(QTcpSocket& socket)
{
    connect(&socket, &QTcpSocket::readyRead, this, &StreamConnection::OnReadyRead);
    connect(&socket, &QTcpSocket::disconnected, this, &StreamConnection::OnDisconnected);
    connect(&socket, &QTcpSocket::errorOccurred, this, &StreamConnection::OnError);
}

void StreamConnection::AddCaCertificates(const QList<QSslCertificate>& certificates)
{
    m_ExtraCa += certificates;
    m_Hls.AddCaCertificates(certificates);
}

void StreamConnection::SetReconnect(bool on)
{
    m_Reconnect = on;
    m_Hls.SetReconnect(on);
}

void StreamConnection::SetReconnectWaits(std::function<int(int)> waitMs)
{
    m_WaitMs = waitMs;
    m_Hls.SetReconnectWaits(std::move(waitMs));
}

void StreamConnection::SetStallTimeout(int ms)
{
    m_Stall.setInterval(ms);
    m_Hls.SetStallTimeout(ms);
}

void StreamConnection::Open(const StreamAddress& address)
{
    m_Original = address;
    m_Streamed = false;
    m_Attempt = 0;
    m_Hops = 0;
    m_Lists = 0;
    m_Entries.clear();
    m_Wait.stop();
    m_Hls.Stop();
    ++m_Generation;
    Connect(address);
}

void StreamConnection::Close()
{
    ++m_Generation;
    m_Wait.stop();
    m_Hls.Stop();
    Drop();
    m_Phase = Phase::Idle;
}

// Dropping a connection is not the stream ending: its notifications are kept out.
void StreamConnection::Drop()
{
    m_Stall.stop();
    for (QTcpSocket* socket :
         {static_cast<QTcpSocket*>(&m_PlainSocket), static_cast<QTcpSocket*>(&m_Tls)}) {
        const QSignalBlocker quiet(socket);
        socket->abort();
    }
}

void StreamConnection::Connect(const StreamAddress& address)
{
    Drop();
    m_Current = address;
    m_Head.Reset();
    m_Chunks.Reset();
    m_Chunked = false;
    m_Playlist.clear();
    m_SslErrors.clear();
    m_Phase = Phase::Head;
    // A large kernel buffer lets each wake-up take a large arrival from a fast server.
    m_Socket = address.secure ? static_cast<QTcpSocket*>(&m_Tls) : &m_PlainSocket;
    m_Socket->setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4 * 1024 * 1024);
    if (m_Streamed && m_Reconnect)
        m_Stall.start();
    if (!address.secure) {
        m_PlainSocket.connectToHost(address.host, address.port);
        return;
    }
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    if (!m_ExtraCa.isEmpty())
        tls.addCaCertificates(m_ExtraCa);
    tls.setPeerVerifyMode(QSslSocket::VerifyPeer);
    m_Tls.setSslConfiguration(tls);
    m_Tls.connectToHostEncrypted(address.host, address.port);
}

// Connects from the event loop, not from inside the socket's own notification; an Open or Close
// in between wins.
void StreamConnection::Later(const StreamAddress& next)
{
    const int generation = ++m_Generation;
    QMetaObject::invokeMethod(
        this,
        [this, next, generation] {
            if (generation == m_Generation)
                Connect(next);
        },
        Qt::QueuedConnection);
}

void StreamConnection::SendRequest()
{
    m_Receiver.ConnectionUp();
    const auto request = IcyRequest(m_Current.host.toLatin1().toStdString(),
                                    m_Current.path.toLatin1().toStdString());
    m_Socket->write(request.data(), static_cast<qint64>(request.size()));
}

void StreamConnection::OnReadyRead()
{
    const QByteArray data = m_Socket->readAll();
    if (m_Stall.isActive() || (m_Streamed && m_Reconnect))
        m_Stall.start();
    switch (m_Phase) {
    case Phase::Head:
        HeadArrived(View(data));
        break;
    case Phase::Stream:
        Deliver(View(data));
        break;
    case Phase::Playlist:
        PlaylistBody(View(data));
        break;
    case Phase::Idle:
    case Phase::Waiting:
    case Phase::Hls:
        break;
    }
}

void StreamConnection::HeadArrived(std::string_view data)
{
    switch (m_Head.Append(data)) {
    case IcyHeaderReader::Result::NeedMore:
        return;
    case IcyHeaderReader::Result::TooLong:
        Fail(tr("no ICY header within %1 bytes").arg(kMaxHeaderBytes));
        return;
    case IcyHeaderReader::Result::Accepted: {
        // The ICY answer as it always was: its header goes on as received.
        const auto header = m_Head.sHeader();
        StartStream(header, ReadHttpAnswer(header).contentType, false, m_Head.AfterHeader());
        return;
    }
    case IcyHeaderReader::Result::Answered:
        Answered(m_Head.sHeader(), m_Head.AfterHeader());
        return;
    }
}

void StreamConnection::Answered(std::string_view head, std::string_view rest)
{
    const HttpAnswer answer = ReadHttpAnswer(head);
    if (IsRedirect(answer.status) && !answer.location.empty()) {
        Redirect(answer.location);
    } else if (answer.status == 200 &&
               IsPlaylist(answer.contentType, View(m_Current.path.toLatin1()))) {
        m_Phase = Phase::Playlist;
        m_Chunked = answer.chunked;
        PlaylistBody(rest);
    } else if (answer.status == 200) {
        StartStream(answer.icyHeader, answer.contentType, answer.chunked, rest);
    } else {
        Fail(tr("the server answered \"%1\"").arg(StatusLine(head)));
    }
}

void StreamConnection::Redirect(const std::string& location)
{
    const StreamAddress next = ResolveAddress(m_Current, QString::fromLatin1(location.c_str()));
    if (++m_Hops > kMaxRedirects)
        Fail(tr("more than %1 redirects").arg(kMaxRedirects));
    else if (!next.Valid())
        Fail(tr("redirected to an unusable address \"%1\"")
                 .arg(QString::fromLatin1(location.c_str())));
    else if (m_Current.secure && !next.secure)
        Fail(tr("refused a redirect from https down to http"));
    else {
        m_Phase = Phase::Idle;
        Drop();
        Later(next);
    }
}

void StreamConnection::StartStream(std::string_view header, const std::string& contentType,
                                   bool chunked, std::string_view rest)
{
    if (!IsAudioType(contentType))
        return Refuse(tr("not an audio stream (%1)").arg(QString::fromLatin1(contentType.c_str())));
    const bool resumed = m_Streamed;
    m_Phase = Phase::Stream;
    m_Streamed = true;
    m_Attempt = 0;
    if (m_Reconnect)
        m_Stall.start();
    m_Chunked = chunked;
    m_Entries.clear();
    m_Receiver.HeaderReceived(header, QString::fromStdString(FileExtensionFor(contentType)),
                              resumed);
    Deliver(rest);
}

void StreamConnection::Deliver(std::string_view data)
{
    if (!m_Chunked) {
        m_Receiver.DataReceived(data);
        return;
    }
    m_Plain.clear();
    const auto result = m_Chunks.Decode(data, m_Plain);
    m_Receiver.DataReceived(m_Plain);
    if (m_Phase != Phase::Stream)
        return; // the receiver closed us
    if (result == ChunkedDecoder::Result::Bad)
        Fail(tr("the server's chunked transfer coding is broken"));
    else if (result == ChunkedDecoder::Result::Done)
        Lost();
}

void StreamConnection::PlaylistBody(std::string_view data)
{
    if (m_Chunked) {
        std::string plain;
        if (m_Chunks.Decode(data, plain) == ChunkedDecoder::Result::Bad)
            return Fail(tr("the server's chunked transfer coding is broken"));
        m_Playlist += plain;
    } else {
        m_Playlist.append(data);
    }
    // An HLS list names every segment: a finished one of an hour is far longer than a .pls.
    const std::size_t limit =
        std::string_view(m_Playlist).substr(0, 16).find("#EXTM3U") != std::string_view::npos
            ? hls::kMaxPlaylistBytes
            : kMaxPlaylistBytes;
    if (m_Playlist.size() > limit)
        Fail(tr("the playlist is larger than %1 bytes").arg(limit));
}

void StreamConnection::PlaylistDone()
{
    if (++m_Lists > kMaxRedirects)
        return Fail(tr("more than %1 playlists in a row").arg(kMaxRedirects));
    const StreamAddress list = m_Current;
    m_Entries.clear();
    const hls::Playlist hlsList = hls::ReadPlaylist(m_Playlist);
    if (hlsList.kind == hls::Playlist::Kind::Broken)
        return Fail(QString::fromStdString(hlsList.error));
    if (hlsList.kind != hls::Playlist::Kind::NotHls) {
        Drop();
        m_Phase = Phase::Hls;
        m_Hls.Start(list.Url(), hlsList);
        return;
    }
    for (const std::string& entry : PlaylistEntries(m_Playlist)) {
        const StreamAddress address = ResolveAddress(list, QString::fromUtf8(entry.c_str()));
        // A list fetched over https names no plain http stream to fall back to.
        if (address.Valid() && (address.secure || !list.secure))
            m_Entries.push_back(address);
    }
    if (!TryNextEntry())
        Fail(tr("the playlist names no stream"));
}

// The next entry of the playlist being tried; false when none is left.
bool StreamConnection::TryNextEntry()
{
    if (m_Entries.empty())
        return false;
    const StreamAddress next = m_Entries.front();
    m_Entries.erase(m_Entries.begin());
    m_Hops = 0;
    m_Phase = Phase::Idle;
    Drop();
    Later(next);
    return true;
}

void StreamConnection::OnDisconnected()
{
    // Whatever arrived with the close is still part of the answer.
    if (m_Socket->bytesAvailable() > 0)
        OnReadyRead();
    switch (m_Phase) {
    case Phase::Playlist:
        PlaylistDone();
        return;
    case Phase::Stream:
        Lost();
        return;
    case Phase::Head:
        if (TryNextEntry())
            return;
        Lost();
        return;
    case Phase::Idle:
    case Phase::Waiting:
    case Phase::Hls:
        return;
    }
}

void StreamConnection::OnError(QAbstractSocket::SocketError error)
{
    // The peer's close is an ending, not a failure; disconnected() reports it.
    if (error == QAbstractSocket::RemoteHostClosedError || m_Phase == Phase::Idle ||
        m_Phase == Phase::Waiting || m_Phase == Phase::Hls)
        return;
    if (error == QAbstractSocket::SslHandshakeFailedError)
        Fail(tr("certificate refused: %1")
                 .arg(m_SslErrors.isEmpty() ? m_Socket->errorString() : m_SslErrors));
    else
        Fail(m_Socket->errorString());
}

void StreamConnection::OnStalled()
{
    if (m_Reconnect && m_Streamed && m_Phase != Phase::Waiting && m_Phase != Phase::Idle &&
        m_Phase != Phase::Hls)
        Lost();
}

// The connection is gone: reopened after a wait when the stream had been received and the user
// wants that, else the stream has ended.
void StreamConnection::Lost()
{
    Drop();
    if (!(m_Reconnect && m_Streamed)) {
        m_Phase = Phase::Idle;
        m_Receiver.ConnectionEnded();
        return;
    }
    m_Phase = Phase::Waiting;
    m_Receiver.ConnectionWaiting();
    m_Wait.start(m_WaitMs(m_Attempt++));
}

void StreamConnection::Fail(const QString& why)
{
    if (!Recovered())
        m_Receiver.ConnectionFailed(why);
}

// Not sound: the next entry of a playlist may be; a station that answered with sound before is
// asked again later (a page shown while it is down); anything else is refused for good.
void StreamConnection::Refuse(const QString& why)
{
    if (!Recovered())
        m_Receiver.StreamRefused(why);
}

// Before giving up: the playlist's next entry, or a later try at a station that streamed before.
// False when neither is left; the connection is then down and idle.
bool StreamConnection::Recovered()
{
    if (m_Phase == Phase::Head && TryNextEntry())
        return true;
    if (m_Reconnect && m_Streamed) {
        Lost();
        return true;
    }
    Drop();
    m_Phase = Phase::Idle;
    return false;
}

} // namespace recorder
