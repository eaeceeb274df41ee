#include "InetTransfer.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QThread>
#include <QUrl>

namespace platform {

namespace {

// One manager for the whole program: it keeps one connection pool, one TLS setup and one cookie
// jar, where a manager per transfer would build them again for every fetch. It lives as long as
// the application object, which deletes it (and any reply left) when the program ends.
QNetworkAccessManager& SharedManager()
{
    static QPointer<QNetworkAccessManager> manager;
    if (!manager) {
        Q_ASSERT(QCoreApplication::instance() &&
                 QThread::currentThread() == QCoreApplication::instance()->thread());
        manager = new QNetworkAccessManager(QCoreApplication::instance());
    }
    return *manager;
}

bool IsUsableAddress(const QUrl& url)
{
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
           !url.host().isEmpty();
}

// A response that arrived whole, even with an error status (the body is then an error page),
// as opposed to a request that broke off or never reached a server.
bool IsHttpAnswer(QNetworkReply::NetworkError error)
{
    return error == QNetworkReply::NoError ||
           (error >= QNetworkReply::ContentAccessDenied &&
            error <= QNetworkReply::UnknownContentError) ||
           (error >= QNetworkReply::InternalServerError &&
            error <= QNetworkReply::UnknownServerError);
}

QString Seconds(int ms)
{
    return QString::number(ms / 1000.0, 'g', 3);
}

} // namespace

InetTransfer::InetTransfer(QObject* parent) : QObject(parent)
{
    IdleTimer.setSingleShot(true);
    TotalTimer.setSingleShot(true);
    connect(&IdleTimer, &QTimer::timeout, this,
            [this] { Fail(tr("Timed out: no answer for %1 s").arg(Seconds(iIdleTimeoutMs))); });
    connect(&TotalTimer, &QTimer::timeout, this,
            [this] { Fail(tr("Timed out after %1 s").arg(Seconds(iTotalTimeoutMs))); });
}

InetTransfer::~InetTransfer()
{
    Detach();
}

void InetTransfer::SetTimeouts(int IdleMs, int TotalMs)
{
    iIdleTimeoutMs = IdleMs;
    iTotalTimeoutMs = TotalMs;
}

bool InetTransfer::OpenURL(const QString& Address)
{
    if (bExecuting)
        return false;
    const quint64 fetch = ++iFetch;
    bExecuting = true;
    sBody.clear();
    sResponseInfo.clear();
    iResponseCode = 0;
    iLastState = icNone;
    eOutcome = Outcome::None;

    // Even the first notification comes from the event loop: a handler never runs inside the
    // caller's OpenURL.
    const QUrl url(Address);
    if (!IsUsableAddress(url)) {
        QMetaObject::invokeMethod(
            this, [this, fetch] { fetch == iFetch ? Fail(tr("Invalid address")) : void(); },
            Qt::QueuedConnection);
        return true;
    }
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(10);
    Watch(SharedManager().get(request));
    IdleTimer.start(iIdleTimeoutMs);
    TotalTimer.start(iTotalTimeoutMs);
    QMetaObject::invokeMethod(
        this, [this, fetch] { fetch == iFetch ? void(Advance(icResolvingHost)) : void(); },
        Qt::QueuedConnection);
    return true;
}

void InetTransfer::Watch(QNetworkReply* Reply)
{
    pReply = Reply;
    auto alive = [this] { IdleTimer.start(); };
    const QString tooLarge = tr("Response larger than %1 bytes").arg(lMaxBodyBytes);
    // Each handler ends with the call that may notify: a handler of ours may have destroyed or
    // cancelled this component by the time it returns.
    connect(Reply, &QNetworkReply::socketStartedConnecting, this, [this, alive] {
        alive();
        Advance(icConnecting);
    });
    connect(Reply, &QNetworkReply::requestSent, this, [this, alive] {
        alive();
        Advance(icConnected);
    });
    connect(Reply, &QNetworkReply::redirected, this, alive);
    connect(Reply, &QNetworkReply::metaDataChanged, this, [this, Reply, alive, tooLarge] {
        alive();
        const QVariant length = Reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > lMaxBodyBytes)
            Fail(tooLarge);
    });
    connect(Reply, &QNetworkReply::readyRead, this, [this, Reply, alive, tooLarge] {
        alive();
        sBody += Reply->readAll();
        if (sBody.size() > lMaxBodyBytes)
            Fail(tooLarge);
        else
            Advance(icReceivingResponse);
    });
    connect(Reply, &QNetworkReply::finished, this, [this, Reply, tooLarge] {
        sBody += Reply->readAll();
        if (sBody.size() > lMaxBodyBytes)
            Fail(tooLarge);
        else if (Reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid() &&
                 IsHttpAnswer(Reply->error()))
            Complete();
        else
            Fail(Reply->errorString());
    });
}

void InetTransfer::Cancel()
{
    if (!bExecuting)
        return;
    ++iFetch;
    Detach();
    bExecuting = false;
    eOutcome = Outcome::Cancelled;
    sResponseInfo = tr("Cancelled");
}

// Whether the fetch goes on: false when a handler destroyed or cancelled this component.
bool InetTransfer::Raise(int State)
{
    QPointer<InetTransfer> self(this);
    const quint64 fetch = iFetch;
    iLastState = State;
    emit StateChanged(State);
    return !self.isNull() && fetch == iFetch;
}

bool InetTransfer::Advance(int State)
{
    // The steps up to a response are raised once each and in order, whatever Qt reports first.
    static constexpr int steps[] = {icResolvingHost, icHostResolved, icConnecting, icConnected,
                                    icReceivingResponse};
    for (int step : steps) {
        if (step > State)
            break;
        if (step > iLastState && !Raise(step))
            return false;
    }
    return true;
}

void InetTransfer::Complete()
{
    iResponseCode = pReply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    sResponseInfo =
        QStringLiteral("%1 %2")
            .arg(iResponseCode)
            .arg(pReply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString())
            .trimmed();
    Detach();
    if (!Advance(icReceivingResponse) || !Raise(icResponseReceived))
        return;
    eOutcome = Outcome::Answered;
    if (Raise(icResponseCompleted))
        Deliver(std::move(sBody));
}

void InetTransfer::Fail(const QString& Reason)
{
    Detach();
    sBody.clear();
    sResponseInfo = Reason;
    eOutcome = Outcome::Failed;
    if (Raise(icError))
        Deliver({});
}

void InetTransfer::Deliver(QByteArray Body)
{
    ++iFetch;
    bExecuting = false;
    sBody.clear();
    emit Finished(Body);
}

// Forgets the reply: aborted when still running, deleted from the event loop (it may be the very
// reply whose notification is running), and nothing it emits reaches this component again.
void InetTransfer::Detach()
{
    IdleTimer.stop();
    TotalTimer.stop();
    QNetworkReply* reply = pReply;
    pReply = nullptr;
    if (!reply)
        return;
    disconnect(reply, nullptr, this, nullptr);
    if (reply->isRunning())
        reply->abort();
    reply->deleteLater();
}

} // namespace platform
