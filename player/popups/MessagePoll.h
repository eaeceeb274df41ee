// The player's poll for the administrator message: once a second (TimerMsg) it fetches
// "Settings/Message.ini" below the server address with its own transfer component (InetMsg)
// and, when the text differs from LastMessage, stops itself and announces the new text. Whoever
// shows the text starts the poll again when the popup closes.
//
// A failed fetch (no connection, timeout, an error status, an HTML error page, a body over
// MaxMessageBytes) and an empty message change nothing. One fetch at a time: a tick while the
// last fetch is still running does nothing, so a slow server never has requests piling up.
// Stopping the poll, or destroying it, cancels its running fetch.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

namespace platform {
class InetTransfer;
}

namespace player {

class MessagePoll : public QObject
{
    Q_OBJECT

  public:
    static constexpr int IntervalMs = 1000;
    // A message is a few lines for a popup; a longer body is refused like a failed fetch.
    static constexpr qint64 MaxMessageBytes = 64 * 1024;

    explicit MessagePoll(QObject* parent = nullptr);
    ~MessagePoll() override;

    // TimerMsg: ticks every second while started.
    void Start();
    void Stop();
    bool IsRunning() const { return TimerMsg.isActive(); }

    // The text last seen: the acknowledged message at load, then every text announced.
    QString LastMessage() const { return sLastMessage; }
    void SetLastMessage(const QString& Text) { sLastMessage = Text; }
    // LastMessage from "Settings.ini" [Message] Msg (the player's LoadSet).
    void LoadLastMessage();

    platform::InetTransfer& InetMsg() const { return *pInetMsg; }

    // One poll, as a TimerMsg tick runs it: starts a fetch, whose answer comes later.
    void TimerMsg_Timer();

  signals:
    // A text that differs from LastMessage arrived; the poll has stopped and LastMessage is Text.
    void NewMessage(const QString& Text);

  private:
    void InetMsg_Finished(const QByteArray& Body);

    platform::InetTransfer* pInetMsg;
    QTimer TimerMsg;
    QString sLastMessage;
};

} // namespace player
