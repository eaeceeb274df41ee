#include "InetTransfer.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>
#include <QUrl>

namespace platform {

struct InetTransfer::Fetch
{
    enum class End { None, Response, Failed, Cancelled };

    QEventLoop loop;
    QNetworkReply* reply = nullptr;
    QTimer idle;
    QTimer total;
    QByteArray body;
    End end = End::None;
    QString reason;

    void Stop(End how, const QString& why = {})
    {
        if (end != End::None)
            return;
        end = how;
        reason = why;
        idle.stop();
        total.stop();
        loop.quit();
    }

    // Aborting makes the reply emit finished and errorOccurred at once; nobody may listen then.
    void Abort()
    {
        if (!reply)
            return;
        QObject::disconnect(reply, nullptr, nullptr, nullptr);
        reply->abort();
    }

    void Fail(const QString& why)
    {
        Stop(End::Failed, why);
        Abort();
    }
};

namespace {

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

InetTransfer::InetTransfer(QObject* parent)
    : QObject(parent), pManager(new QNetworkAccessManager(this))
{
}

InetTransfer::~InetTransfer()
{
    // Destroyed from a handler that ran inside our own OpenURL: end that fetch; OpenURL notices
    // and returns without touching this object again.
    if (pFetch) {
        pFetch->Stop(Fetch::End::Cancelled);
        pFetch->Abort();
    }
}

void InetTransfer::SetTimeouts(int IdleMs, int TotalMs)
{
    iIdleTimeoutMs = IdleMs;
    iTotalTimeoutMs = TotalMs;
}

void InetTransfer::Cancel()
{
    if (!bExecuting)
        return;
    bCancelled = true;
    if (pFetch) {
        pFetch->Stop(Fetch::End::Cancelled);
        pFetch->Abort();
    }
}

// Whether the request may go on: false when a handler destroyed this component or cancelled it.
bool InetTransfer::Raise(int State)
{
    QPointer<InetTransfer> self(this);
    iLastState = State;
    emit StateChanged(State);
    return !self.isNull() && !bCancelled;
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

QByteArray InetTransfer::OpenURL(const QString& Address)
{
    if (bExecuting) {
        sResponseInfo = QStringLiteral("Still executing last request");
        return {};
    }
    sResponseInfo.clear();
    iResponseCode = 0;
    iLastState = icNone;
    bCancelled = false;
    eOutcome = Outcome::None;

    const QUrl url(Address);
    if (!IsUsableAddress(url)) {
        sResponseInfo = QStringLiteral("Invalid address");
        eOutcome = Outcome::Failed;
        Raise(icError);
        return {};
    }

    bExecuting = true;
    QPointer<InetTransfer> self(this);
    if (!Advance(icResolvingHost))
        return self ? Cancelled() : QByteArray();
    Fetch fetch;
    pFetch = &fetch;

    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(10);
    fetch.reply = pManager->get(request);
    QNetworkReply* reply = fetch.reply;

    fetch.idle.setSingleShot(true);
    fetch.idle.setInterval(iIdleTimeoutMs);
    fetch.total.setSingleShot(true);
    fetch.total.setInterval(iTotalTimeoutMs);
    const QString idleReason =
        QStringLiteral("Timed out: no answer for %1 s").arg(Seconds(iIdleTimeoutMs));
    const QString totalReason =
        QStringLiteral("Timed out after %1 s").arg(Seconds(iTotalTimeoutMs));
    connect(&fetch.idle, &QTimer::timeout, this, [&fetch, idleReason] { fetch.Fail(idleReason); });
    connect(&fetch.total, &QTimer::timeout, this,
            [&fetch, totalReason] { fetch.Fail(totalReason); });
    auto alive = [&fetch] { fetch.idle.start(); };
    const QString tooLarge = QStringLiteral("Response larger than %1 bytes").arg(lMaxBodyBytes);

    connect(reply, &QNetworkReply::socketStartedConnecting, this, [this, alive] {
        alive();
        Advance(icConnecting);
    });
    connect(reply, &QNetworkReply::requestSent, this, [this, alive] {
        alive();
        Advance(icConnected);
    });
    connect(reply, &QNetworkReply::redirected, this, alive);
    connect(reply, &QNetworkReply::metaDataChanged, this, [this, reply, &fetch, alive, tooLarge] {
        alive();
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > lMaxBodyBytes)
            fetch.Fail(tooLarge);
    });
    connect(reply, &QNetworkReply::readyRead, this, [this, reply, &fetch, alive, tooLarge] {
        alive();
        fetch.body += reply->readAll();
        if (fetch.body.size() > lMaxBodyBytes) {
            fetch.Fail(tooLarge);
            return;
        }
        Advance(icReceivingResponse);
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply, &fetch, tooLarge] {
        fetch.body += reply->readAll();
        if (fetch.body.size() > lMaxBodyBytes)
            fetch.Fail(tooLarge);
        else if (reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid() &&
                 IsHttpAnswer(reply->error()))
            fetch.Stop(Fetch::End::Response);
        else
            fetch.Fail(reply->errorString());
    });

    fetch.idle.start();
    fetch.total.start();
    if (fetch.end == Fetch::End::None)
        fetch.loop.exec();
    if (!self)
        return {};
    pFetch = nullptr;
    return Finish(fetch);
}

QByteArray InetTransfer::Finish(Fetch& fetch)
{
    QNetworkReply* reply = fetch.reply;
    reply->deleteLater();
    // No verdict: cancelled, or the loop was ended from outside (the program is quitting).
    if (fetch.end == Fetch::End::None || fetch.end == Fetch::End::Cancelled || bCancelled) {
        fetch.Abort();
        return Cancelled();
    }
    if (fetch.end == Fetch::End::Failed) {
        bExecuting = false;
        sResponseInfo = fetch.reason;
        eOutcome = Outcome::Failed;
        Raise(icError);
        return {};
    }

    iResponseCode = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    sResponseInfo =
        QStringLiteral("%1 %2")
            .arg(iResponseCode)
            .arg(reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString())
            .trimmed();
    QByteArray body = std::move(fetch.body);
    // A handler of state 8 may run a whole other fetch, and cancel this one meanwhile.
    QPointer<InetTransfer> self(this);
    if (!Advance(icReceivingResponse) || !Raise(icResponseReceived))
        return self ? Cancelled() : QByteArray();
    bExecuting = false;
    eOutcome = Outcome::Answered;
    Raise(icResponseCompleted);
    return body;
}

QByteArray InetTransfer::Cancelled()
{
    bExecuting = false;
    eOutcome = Outcome::Cancelled;
    sResponseInfo = QStringLiteral("Cancelled");
    return {};
}

} // namespace platform
