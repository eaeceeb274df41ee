// What the player says about the stream it plays: the channel, the station's own name and
// bitrate, the title, the state in words, and the titles heard this session. No widgets: the
// now-playing card and the tray tip show it, tests read it.
#pragma once

#include "MediaPlayer.h"

#include <QString>
#include <QStringList>

namespace player {

class NowPlaying
{
  public:
    using State = platform::MediaPlayer::State;
    static constexpr int HistorySize = 10;

    // Another address (a channel, or the same again): the old station and title go; what was
    // heard stays.
    void NewAddress();
    void SetChannel(const QString& Channel) { m_sChannel = Channel; }
    void SetStation(const QString& Name, int Kbps);
    void SetTitle(const QString& Title);
    // Error: the failure in one line, for State::Failed.
    void SetState(State Now, const QString& Error = {});
    // Reconnecting: the next attempt in WaitMs from NowMs (0: an attempt is under way).
    void SetReconnectWait(int WaitMs, qint64 NowMs);

    State state() const { return m_State; }
    QString Channel() const { return m_sChannel; }
    // "Loop FM · 64 kbps", what of it the stream gave; empty without either.
    QString StationLine() const;
    QString Title() const { return m_sTitle; }
    // "Connecting…", "Reconnecting in 4 s…", "Stream ended", the error; empty before anything
    // was played.
    QString StateLine(qint64 NowMs) const;
    // Newest first, at most HistorySize, each once in a row.
    QStringList History() const { return m_History; }
    // Whether StateLine changes with time alone (a countdown).
    bool CountingDown() const { return m_State == State::Reconnecting && m_iReconnectAt > 0; }
    // The tray icon's tip: the player's title, then the channel with what it plays or its state,
    // in at most MaxLength characters: what is said about the stream is kept first.
    QString Tip(const QString& PlayerTitle, qint64 NowMs, int MaxLength) const;

  private:
    State m_State = State::Stopped;
    bool m_bStarted = false;
    QString m_sChannel;
    QString m_sStation;
    int m_iKbps = 0;
    QString m_sTitle;
    QString m_sError;
    qint64 m_iReconnectAt = 0; // when the next attempt is due; 0: under way
    QStringList m_History;
};

} // namespace player
