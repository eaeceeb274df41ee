// HTTP fetch with the contract of the desktop's old Internet Transfer control: OpenURL blocks its
// caller but runs a nested event loop, so timers, clicks and the numbered state notifications are
// handled while the request is outstanding. Callers must expect re-entry during OpenURL.
// A window gives its transfers itself as parent, so that ending the program cancels them.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <memory>

class QNetworkAccessManager;

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
        icResponseReceived = 8,  // raised, before OpenURL returns
        icDisconnecting = 9,
        icDisconnected = 10,
        icError = 11,            // raised instead of 8 and 12
        icResponseCompleted = 12 // raised last, just before OpenURL returns
    };
    Q_ENUM(StateCode)

    // No data at all for this long (connecting included) ends the request.
    static constexpr int DefaultIdleTimeoutMs = 10'000;
    // The whole request, redirects included, may take no longer than this.
    static constexpr int DefaultTotalTimeoutMs = 30'000;
    // The operator's files (a channel directory, its settings) are a few KiB, a big directory a
    // few MiB; a body beyond this is refused, so a hostile or broken server cannot fill memory.
    static constexpr qint64 DefaultMaxBodyBytes = 16 * 1024 * 1024;

    // How the last OpenURL ended.
    enum class Outcome {
        None,      // nothing asked yet, or a request is running
        Answered,  // a response arrived whole (an error page counts)
        Failed,    // state 11 was raised
        Cancelled, // Cancel(), or the program quitting, ended it: no body, no notification
    };

    explicit InetTransfer(QObject* parent = nullptr);
    ~InetTransfer() override;

    // GET Address (http or https, redirects followed) and return the body as received. An HTTP
    // error status still returns its body (an error page); a transport failure, a timeout, an
    // oversized body or an unusable address raises state 11 and returns nothing. A call while
    // this component is still executing returns nothing at once.
    QByteArray OpenURL(const QString& Address);

    // Ends the running request, from a handler inside OpenURL or a nested event loop: OpenURL
    // returns nothing with the outcome Cancelled, even when the body has already arrived and a
    // handler of state 8 is still running. Raises no notification. Does nothing when idle.
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

  private:
    struct Fetch;

    bool Advance(int State);
    bool Raise(int State);
    QByteArray Finish(Fetch& fetch);
    QByteArray Cancelled();

    QNetworkAccessManager* pManager;
    Fetch* pFetch = nullptr;
    bool bExecuting = false;
    bool bCancelled = false;
    Outcome eOutcome = Outcome::None;
    int iLastState = icNone;
    QString sResponseInfo;
    int iResponseCode = 0;
    int iIdleTimeoutMs = DefaultIdleTimeoutMs;
    int iTotalTimeoutMs = DefaultTotalTimeoutMs;
    qint64 lMaxBodyBytes = DefaultMaxBodyBytes;
};

} // namespace platform
