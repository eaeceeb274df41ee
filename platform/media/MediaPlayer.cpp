#include "MediaPlayer.h"

#include <QEvent>
#include <QResizeEvent>

#include <algorithm>

namespace platform {

// Skeleton: state only, no engine yet.
struct MediaPlayer::Engine
{
    QString url;
    int volume = 100;
    bool mute = false;
    bool fullScreen = false;
    State state = State::Stopped;
};

MediaPlayer::MediaPlayer(QWidget* parent, Video) : QWidget(parent), m(std::make_unique<Engine>()) {}

MediaPlayer::~MediaPlayer() = default;

void MediaPlayer::setURL(const QString& url)
{
    m->url = url;
}

QString MediaPlayer::URL() const
{
    return m->url;
}

void MediaPlayer::stop() {}

void MediaPlayer::setVolume(int percent)
{
    m->volume = std::clamp(percent, 0, 100);
}

int MediaPlayer::volume() const
{
    return m->volume;
}

void MediaPlayer::setMute(bool on)
{
    m->mute = on;
}

bool MediaPlayer::mute() const
{
    return m->mute;
}

void MediaPlayer::setFullScreen(bool on)
{
    m->fullScreen = on;
}

bool MediaPlayer::fullScreen() const
{
    return m->fullScreen;
}

MediaPlayer::State MediaPlayer::state() const
{
    return m->state;
}

bool MediaPlayer::eventFilter(QObject* watched, QEvent* event)
{
    return QWidget::eventFilter(watched, event);
}

void MediaPlayer::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
}

}  // namespace platform
