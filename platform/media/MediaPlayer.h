#pragma once
// The media component of the player window: plays a stream address on libmpv, with its video in a
// child view, volume, mute and a full-screen window of its own. Everything the engine reports
// reaches the GUI thread as queued calls and leaves as typed signals; nothing here waits on the
// network or the engine.
#include <QPoint>
#include <QString>
#include <QWidget>

#include <memory>

namespace platform {

class MediaPlayer : public QWidget
{
    Q_OBJECT

  public:
    enum class Video { On, Off };  // Off: audio only, no video output at all
    enum class State { Stopped, Opening, Playing, Ended, Failed };
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

  signals:
    void MouseDown(Qt::MouseButton button, QPoint globalPos);
    void MouseUp(Qt::MouseButton button, QPoint globalPos);
    void StateChanged(platform::MediaPlayer::State state);
    void TitleChanged(const QString& icyTitle);  // stream title from metadata (icy-title / media-title)
    void ErrorOccurred(const QString& text);
    void FrameShown();                           // first video frame drawn

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    struct Engine;
    std::unique_ptr<Engine> m;
};

}  // namespace platform
