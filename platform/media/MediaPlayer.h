#pragma once
// The media component of the player window: plays a stream address on libmpv, with its video in a
// child view, volume, mute and a full-screen window of its own. Everything the engine reports
// reaches the GUI thread as queued calls and leaves as typed signals; nothing here waits on the
// network or the engine.
#include <QPoint>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

namespace platform {

class MediaPlayer : public QWidget
{
    Q_OBJECT

  public:
    enum class Video { On, Off }; // Off: audio only, no video output at all
    // Reconnecting: a live stream was lost (it ended, failed or went quiet) and is being opened
    // again, until it plays, or until a stop or another address.
    enum class State { Stopped, Opening, Playing, Ended, Failed, Reconnecting };
    Q_ENUM(State)

    explicit MediaPlayer(QWidget* parent = nullptr, Video video = Video::On);
    ~MediaPlayer() override;

    // Starts playing at once; an empty address stops.
    void setURL(const QString& url);
    QString URL() const;
    // Stops; the address stays.
    void stop();
    // Clamped to 0..100.
    void setVolume(int percent);
    int volume() const;
    void setMute(bool on);
    bool mute() const;
    // The video in a frameless full-screen window of its own; Esc or a double click returns.
    void setFullScreen(bool on);
    bool fullScreen() const;
    State state() const;
    // The last failure, in one short line; empty after a new address.
    QString errorText() const;
    // The station's own name and bitrate (kbps) when its stream gives them; empty and 0 else.
    QString stationName() const;
    int stationKbps() const;

    // The wait before each attempt to bring a lost live stream back (attempt 0, 1, ...): 1, 2,
    // 4 ... 30 s unless set.
    void setReconnectWaits(std::function<int(int attempt)> waitMs);
    // How long a stream may send nothing before it counts as lost (10 s unless set).
    void setStallTimeout(double seconds);

    // What the video area shows while there is no picture (radio, connecting, a lost stream): a
    // widget of the caller's, taken as a child, that goes full screen with the video. Presses on
    // it (not on its children) drag as on the video.
    void setCover(QWidget* cover);
    QWidget* cover() const { return m_cover; }
    // The current address has drawn a frame of video.
    bool pictureShown() const;

  signals:
    void MouseDown(Qt::MouseButton button, QPoint globalPos);
    void MouseUp(Qt::MouseButton button, QPoint globalPos);
    void StateChanged(platform::MediaPlayer::State state);
    // The stream's title from its metadata (icy-title, else the title tag).
    void TitleChanged(const QString& icyTitle);
    void ErrorOccurred(const QString& text); // one short line, as errorText()
    // Lost and waiting waitMs before the next attempt; 0: an attempt is under way.
    void Reconnecting(int waitMs);
    void StationChanged(const QString& name, int kbps);
    void FrameShown(); // first video frame drawn

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void UpdateCover();

    struct Engine;
    std::unique_ptr<Engine> m;
    QWidget* m_cover = nullptr;
};

} // namespace platform
