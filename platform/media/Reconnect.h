#pragma once
// When a live stream goes (the server closed, failed or went quiet): the waits before each
// attempt to open it again, one attempt at a time. The engine asks for the next attempt each time
// the stream is gone and says when it plays again; a stop or another address cancels.
#include <QObject>
#include <QTimer>

#include <functional>

namespace platform {

class Reconnect : public QObject
{
  public:
    using Waits = std::function<int(int attempt)>;

    // 1, 2, 4, 8, 16, then 30 s for every attempt after.
    static int DefaultWaitMs(int attempt);

    explicit Reconnect(std::function<void()> attempt, QObject* parent = nullptr);

    void SetWaits(Waits waitMs);
    // The stream is gone: the next attempt is due after the returned wait. Asked again while
    // one is waiting, nothing is added (the waiting one stands).
    int Next();
    // Between a loss and playing again (waiting, or an attempt under way).
    bool Active() const { return m_active; }
    bool Waiting() const { return m_timer.isActive(); }
    // It plays again: a later loss starts from the first wait.
    void Succeeded();
    // The user stopped, chose another address or is leaving.
    void Cancel();

  private:
    std::function<void()> m_attempt;
    Waits m_waitMs = DefaultWaitMs;
    QTimer m_timer;
    int m_attempts = 0;
    bool m_active = false;
};

} // namespace platform
