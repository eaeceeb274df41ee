// HTTP fetch with the numbered states of the desktop's old Internet Transfer control, but never
// blocking: OpenURL starts a GET and returns at once. What follows arrives from the event loop:
//   StateChanged 1, 2, 3, 4, 7, 8, 12 in that order (each once), or 11 in place of 8 and 12 when
//   the fetch fails; then Finished with the body (empty after 11). StillExecuting stays true
//   until Finished, so a handler of 8, 11 or 12 cannot start another fetch on this component.
// A cancelled fetch (Cancel, or the component destroyed) raises nothing more and never finishes.
// So the object that wants a result owns its transfer (as a member or a child): when the owner
// goes, its fetch ends with it and nothing is delivered to it.
// Every transfer of the program shares one QNetworkAccessManager, made on first use; transfers
// live on the GUI thread.
#pragma once

#include <QByteArray>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

namespace platform {

class InetTransfer : public QObject
{
    Q_OBJECT

  public:
    // The state numbers callers switch on; only those marked are ever raised.
    enum StateCode {
        icNone = 0,
        icResolvingHost = 1, // raised
        icHostResolved = 2,  // raised
        icConnecting = 3,    // raised
        icConnected = 4,     // raised
        icRequesting = 5,
        icRequestSent = 6,
        icReceivingResponse = 7, // raised
        icResponseReceived = 8,  // raised when the body is whole
        icDisconnecting = 9,
        icDisconnected = 10,
        icError = 11,            // raised instead of 8 and 12
        icResponseCompleted = 12 // raised last before Finished
    };
    Q_ENUM(StateCode)

    // No data at all for this long (connecting included) ends the request.
    static constexpr int DefaultIdleTimeoutMs = 10'000;
    // The whole request, redirects included, may take no longer than this.
    static constexpr int DefaultTotalTimeoutMs = 30'000;
    // The operator's files (a channel directory, its settings) are a few KiB, a big directory a
    // few MiB; a body beyond this is refused, so a hostile or broken server cannot fill memory.
    static constexpr qint64 DefaultMaxBodyBytes = 16 * 1024 * 1024;

    // How the last fetch ended.
    enum class Outcome {
        None,      // nothing asked yet, or a request is running
        Answered,  // a response arrived whole (an error page counts)
        Failed,    // state 11 was raised
        Cancelled, // Cancel() ended it: nothing more is raised
    };

    explicit InetTransfer(QObject* parent = nullptr);
    ~InetTransfer() override;

    // Starts a GET of Address (http or https, redirects followed). An HTTP error status still
    // brings its body (an error page); a transport failure, a timeout, an oversized body or an
    // unusable address raises 11. Returns false, and changes nothing, while a fetch of this
    // component is still executing.
    bool OpenURL(const QString& Address);

    // Ends the running fetch, even one whose body has arrived and whose state 8 is being
    // handled: no further notification, no Finished. Does nothing when idle.
    void Cancel();

    bool StillExecuting() const { return bExecuting; }
    Outcome LastOutcome() const { return eOutcome; }
    // Status line of the last response ("200 OK"), or the reason the last request failed.
    QString ResponseInfo() const { return sResponseInfo; }
    // HTTP status of the last response, 0 when none arrived.
    int ResponseCode() const { return iResponseCode; }

    void SetTimeouts(int IdleMs, int TotalMs);
    // The largest body a request may bring; a larger one (announced or as it arrives) fails the
    // request with state 11, as a broken connection does. For the requests that follow.
    void SetMaxBodyBytes(qint64 Bytes) { lMaxBodyBytes = Bytes; }
    qint64 MaxBodyBytes() const { return lMaxBodyBytes; }

  signals:
    void StateChanged(int State);
    // The fetch is over (LastOutcome Answered or Failed); Body is empty after a failure.
    void Finished(const QByteArray& Body);

  private:
    void Watch(QNetworkReply* Reply);
    bool Advance(int State);
    bool Raise(int State);
    void Complete();
    void Fail(const QString& Reason);
    void Deliver(QByteArray Body);
    void Detach();

    // Guarded: the shared manager, and its replies, go with the application object.
    QPointer<QNetworkReply> pReply;
    QTimer IdleTimer;
    QTimer TotalTimer;
    QByteArray sBody;
    // Counts fetches and cancels: a notification that finds it changed belongs to a fetch that
    // is over.
    quint64 iFetch = 0;
    bool bExecuting = false;
    Outcome eOutcome = Outcome::None;
    int iLastState = icNone;
    QString sResponseInfo;
    int iResponseCode = 0;
    int iIdleTimeoutMs = DefaultIdleTimeoutMs;
    int iTotalTimeoutMs = DefaultTotalTimeoutMs;
    qint64 lMaxBodyBytes = DefaultMaxBodyBytes;
};

} // namespace platform
