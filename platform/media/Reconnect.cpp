#include "Reconnect.h"

#include <algorithm>

namespace platform {

int Reconnect::DefaultWaitMs(int attempt)
{
    return 1000 * (attempt >= 5 ? 30 : 1 << std::max(0, attempt));
}

Reconnect::Reconnect(std::function<void()> attempt, QObject* parent)
    : QObject(parent), m_attempt(std::move(attempt))
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] { m_attempt(); });
}

void Reconnect::SetWaits(Waits waitMs)
{
    m_waitMs = waitMs ? std::move(waitMs) : Waits(DefaultWaitMs);
}

int Reconnect::Next()
{
    if (m_timer.isActive()) {
        return int(m_timer.remainingTime());
    }
    m_active = true;
    const int wait = std::max(0, m_waitMs(m_attempts++));
    m_timer.start(wait);
    return wait;
}

void Reconnect::Succeeded()
{
    m_timer.stop();
    m_attempts = 0;
    m_active = false;
}

void Reconnect::Cancel()
{
    Succeeded();
}

} // namespace platform
