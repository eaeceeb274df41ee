// The now-playing card: what the video area shows while there is no picture (radio, connecting,
// a lost stream). It follows a media player into its NowPlaying account and paints it in the
// artwork's colours; the titles heard are rows that copy their text to the clipboard when
// clicked. Plain painting, no OpenGL: it works where video never will.
#pragma once

#include "NowPlaying.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <functional>

class QLabel;

namespace player {

class NowPlayingCard : public QWidget
{
    Q_OBJECT

  public:
    // Channel: the name the directory lists for what plays (asked each time an address starts).
    NowPlayingCard(platform::MediaPlayer* Media, std::function<QString()> Channel,
                   QWidget* parent = nullptr);

    const NowPlaying& Account() const { return m_Account; }
    QString StateLine() const;
    // The history rows as shown, newest first.
    QList<QLabel*> Rows() const { return m_Rows; }
    // The card's clock (for the account's countdown).
    qint64 Now() const { return m_Clock.elapsed(); }

  signals:
    // Something shown changed (the tray tip follows).
    void Changed();
    void Copied(const QString& Title);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Follow(platform::MediaPlayer* Media);
    void Refresh();
    void LayOutRows();
    qreal Unit() const;

    NowPlaying m_Account;
    std::function<QString()> m_Channel;
    QElapsedTimer m_Clock;
    QTimer m_Countdown;
    QList<QLabel*> m_Rows;
    QString m_sTold; // the tip last told by Changed
};

// Keeps the tray icon's tip on what the card says.
void FollowInTrayTip(const NowPlayingCard& Card);

} // namespace player
