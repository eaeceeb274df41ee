#include "NowPlaying.h"

#include <QCoreApplication>

namespace player {

void NowPlaying::NewAddress()
{
    m_bStarted = true;
    m_sStation.clear();
    m_iKbps = 0;
    m_sTitle.clear();
    m_sError.clear();
}

void NowPlaying::SetStation(const QString& Name, int Kbps)
{
    m_sStation = Name.simplified();
    m_iKbps = Kbps;
}

void NowPlaying::SetTitle(const QString& Title)
{
    m_sTitle = Title.simplified();
    // A reconnect sends the song playing again: it was heard once.
    if (m_sTitle.isEmpty() || (!m_History.isEmpty() && m_History.front() == m_sTitle))
        return;
    m_History.prepend(m_sTitle);
    while (m_History.size() > HistorySize)
        m_History.removeLast();
}

void NowPlaying::SetState(State Now, const QString& Error)
{
    if (Now == State::Opening && m_State != State::Opening)
        NewAddress();
    m_State = Now;
    m_sError = Now == State::Failed ? Error : QString();
    if (Now != State::Reconnecting)
        m_iReconnectAt = 0;
    // What the stream said before it was lost is not what it plays now.
    if (Now != State::Playing && Now != State::Opening)
        m_sTitle.clear();
}

void NowPlaying::SetReconnectWait(int WaitMs, qint64 NowMs)
{
    m_iReconnectAt = WaitMs > 0 ? NowMs + WaitMs : 0;
}

QString NowPlaying::StationLine() const
{
    const QString rate =
        m_iKbps > 0 ? QCoreApplication::translate("NowPlaying", "%1 kbps").arg(m_iKbps) : QString();
    if (m_sStation.isEmpty() || rate.isEmpty())
        return m_sStation + rate;
    return m_sStation + QStringLiteral(" \u00b7 ") + rate;
}

QString NowPlaying::StateLine(qint64 NowMs) const
{
    switch (m_State) {
    case State::Opening:
        return QCoreApplication::translate("NowPlaying", "Connecting\u2026");
    case State::Playing:
        return QCoreApplication::translate("NowPlaying", "Playing");
    case State::Ended:
        return QCoreApplication::translate("NowPlaying", "Stream ended");
    case State::Failed:
        return m_sError;
    case State::Reconnecting:
        if (m_iReconnectAt > NowMs) {
            const qint64 seconds = (m_iReconnectAt - NowMs + 999) / 1000;
            return QCoreApplication::translate("NowPlaying", "Reconnecting in %1 s\u2026")
                .arg(seconds);
        }
        return QCoreApplication::translate("NowPlaying", "Reconnecting\u2026");
    case State::Stopped:
        break;
    }
    return m_bStarted ? QCoreApplication::translate("NowPlaying", "Stopped") : QString();
}

QString NowPlaying::Tip(const QString& PlayerTitle, qint64 NowMs, int MaxLength) const
{
    const QString doing =
        m_State == State::Playing && !m_sTitle.isEmpty() ? m_sTitle : StateLine(NowMs);
    QString said = doing;
    if (!m_sChannel.isEmpty())
        said = doing.isEmpty() ? m_sChannel : m_sChannel + QStringLiteral(": ") + doing;
    if (said.size() > MaxLength)
        said = doing;
    if (said.isEmpty())
        return PlayerTitle.left(MaxLength);
    const QString whole = PlayerTitle + QLatin1Char('\n') + said;
    if (!PlayerTitle.isEmpty() && whole.size() <= MaxLength)
        return whole;
    return said.size() <= MaxLength ? said : said.left(MaxLength - 1) + QChar(0x2026);
}

} // namespace player
