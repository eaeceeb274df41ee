#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QLockFile>
#include <QPointer>
#include <unistd.h>

namespace app {
namespace {

constexpr char RaiseRequest[] = "raise\n";
constexpr char RaiseAnswer[] = "ok\n";

} // namespace

SingleInstance::SingleInstance(QString ServerPath, QObject* Parent)
    : QObject(Parent), m_Path(std::move(ServerPath))
{
    // Only this user may connect: another user's start must not raise (or probe) this one.
    m_Server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_Server, &QLocalServer::newConnection, this, &SingleInstance::OnNewConnection);
}

SingleInstance::~SingleInstance()
{
    m_Server.close(); // removes the socket file
}

QString SingleInstance::ServerPathFor(const QString& ProgramFolder)
{
    // Without XDG_RUNTIME_DIR (no desktop session, a test's X server), the shared temporary
    // folder; a socket there that another user made is not trusted (AskRunningToRaise).
    QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.isEmpty() || !QFileInfo(runtime).isDir())
        runtime = QDir::tempPath();
    // A hash keeps the path short (a socket path has ~107 bytes) whatever the folder's length.
    const QByteArray folder = QDir::cleanPath(ProgramFolder).toUtf8();
    const QString hash = QString::fromLatin1(
        QCryptographicHash::hash(folder, QCryptographicHash::Sha256).toHex().left(16));
    return QDir(runtime).filePath(QStringLiteral("corvane-player-%1-%2").arg(::getuid()).arg(hash));
}

SingleInstance::Claim SingleInstance::ClaimOrRaise(int TimeoutMs)
{
    const QDeadlineTimer deadline(TimeoutMs);
    // Two starts at the same moment take turns: without the lock both could find no server,
    // and the second would remove the first's fresh socket as stale. A lock left by a crashed
    // process is taken over (QLockFile checks that its owner still lives).
    QLockFile lock(m_Path + QStringLiteral(".lock"));
    lock.setStaleLockTime(0);
    // Without the lock (a start hung holding it) this start goes on unguarded rather than not
    // at all.
    lock.tryLock(int(qMax<qint64>(0, deadline.remainingTime())));

    bool answered = false;
    if (AskRunningToRaise(int(qMax<qint64>(0, deadline.remainingTime())), answered))
        return answered ? Claim::Raised : Claim::Unanswered;
    if (Listen())
        return Claim::First;
    // Nobody answered, yet the path is taken: the socket of an instance that crashed.
    QLocalServer::removeServer(m_Path);
    Listen();
    // Not listening (an unwritable runtime folder) is no reason to refuse to start.
    return Claim::First;
}

bool SingleInstance::AskRunningToRaise(int TimeoutMs, bool& Answered)
{
    const QDeadlineTimer deadline(TimeoutMs);
    // Another user's socket under this name would answer for a player that is not running.
    const QFileInfo existing(m_Path);
    if (existing.exists() && existing.ownerId() != ::getuid())
        return false;
    QLocalSocket socket;
    socket.connectToServer(m_Path);
    if (!socket.waitForConnected(int(qMax<qint64>(1, deadline.remainingTime()))))
        return false; // nobody there, or a stale socket (connection refused)
    socket.write(RaiseRequest);
    QByteArray reply;
    while (!reply.contains('\n') && !deadline.hasExpired()) {
        socket.waitForBytesWritten(0);
        if (socket.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime()))))
            reply += socket.readAll();
        else if (socket.state() != QLocalSocket::ConnectedState)
            break;
    }
    Answered = reply == RaiseAnswer;
    return true;
}

bool SingleInstance::Listen()
{
    return m_Server.listen(m_Path);
}

void SingleInstance::OnNewConnection()
{
    while (QLocalSocket* socket = m_Server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) {
                // A client that sends more than a request without a line end is not ours.
                if (socket->bytesAvailable() > 64)
                    socket->abort();
                return;
            }
            const QByteArray request = socket->readLine();
            // Raising may load a window and run events: the socket may be gone afterwards.
            QPointer<QLocalSocket> guard(socket);
            if (request == RaiseRequest) {
                emit RaiseRequested();
                if (guard)
                    guard->write(RaiseAnswer);
            }
            if (guard && guard->state() == QLocalSocket::ConnectedState)
                guard->disconnectFromServer(); // after the answer is written
        });
    }
}

} // namespace app
