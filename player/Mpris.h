// The player on the session bus as an MPRIS2 media player (org.mpris.MediaPlayer2 and its
// .Player), so that media keys, playerctl and the desktop's sound menu steer it. Every request
// runs the player window's own button handlers through the hooks it is given, so the bus and the
// buttons can never disagree. Without a session bus it stays silent and the player runs as ever.
#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>

#include <functional>

namespace platform {
class MediaPlayer;
} // namespace platform

namespace player {

// What the bus may do to the player window, as its buttons do it.
struct MprisHooks
{
    std::function<void()> TogglePlay;  // the stop/play button
    std::function<bool()> PlayStopped; // the user stopped playback
    std::function<void()> VolumeUp;    // the volume buttons
    std::function<void()> VolumeDown;
    std::function<int()> VolumeLevel; // the level the buttons keep (0..100, may lie outside)
    std::function<QString()> Station; // the channel playing
    std::function<void()> Raise;
    std::function<void()> Quit; // Exit
};

class Mpris : public QObject
{
    Q_OBJECT

  public:
    static constexpr const char* ObjectPath = "/org/mpris/MediaPlayer2";
    static constexpr const char* ServicePrefix = "org.mpris.MediaPlayer2.corvane";

    // Registers on the session bus when there is one; Media reports state and titles.
    Mpris(platform::MediaPlayer* Media, MprisHooks Hooks, QObject* parent = nullptr);
    ~Mpris() override;

    // The bus name taken, empty without a bus.
    QString ServiceName() const { return m_sService; }

    // The requests, as the adaptors pass them on.
    void Play();
    void Pause();
    void PlayPause();
    void Stop();
    void SetVolume(double Volume);
    void Raise();
    void Quit();

    QString PlaybackStatus() const;
    double Volume() const;
    QVariantMap Metadata() const;

    // The player's state may have changed outside the bus (a button, a channel, the stream): the
    // bus hears of each property whose value differs from what it last heard.
    void Refresh();

  private:
    void StreamTitle(const QString& Title);
    void Announce(const QVariantMap& Changed);

    platform::MediaPlayer* m_Media;
    MprisHooks m_Hooks;
    QString m_sService;
    QString m_sTitle;
    bool m_bRefreshPending = false;
    QString m_sAnnouncedStatus;
    double m_dAnnouncedVolume = -1;
    QVariantMap m_AnnouncedMetadata;
};

} // namespace player
