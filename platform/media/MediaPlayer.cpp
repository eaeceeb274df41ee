#include "MediaPlayer.h"

#include "MpvEngine.h"
#include "VideoViews.h"

#include <QEvent>
#include <QMouseEvent>
#include <QResizeEvent>

namespace platform {

// The engine, and the full-screen window the video moves into and back out of.
struct MediaPlayer::Engine : MpvEngine
{
    Engine(MediaPlayer* owner, Video video) : MpvEngine(owner, video), player(owner)
    {
        if (QWidget* view = View()) {
            view->installEventFilter(player);
            view->setGeometry(player->rect());
        }
    }

    ~Engine() override
    {
        if (QWidget* view = View()) {
            view->removeEventFilter(player);
        }
        // The view goes home first: the engine lets go of its GL context while it still exists.
        LeaveFullScreen();
    }

    void EnterFullScreen()
    {
        QWidget* view = View();
        if (!view || fullScreenWindow) {
            return;
        }
        fullScreenWindow = new FullScreenWindow;
        fullScreenWindow->onLeave = [this] { LeaveFullScreen(); };
        fullScreenWindow->Hold(view);
        fullScreenWindow->showFullScreen();
        fullScreenWindow->activateWindow();
        fullScreenWindow->setFocus();
    }

    void LeaveFullScreen()
    {
        QWidget* view = View();
        if (!view || !fullScreenWindow) {
            return;
        }
        view->setParent(player);
        view->setGeometry(player->rect());
        view->show();
        fullScreenWindow->hide();
        fullScreenWindow->onLeave = nullptr;
        fullScreenWindow->deleteLater();  // we may be inside its own key handler
        fullScreenWindow = nullptr;
    }

    MediaPlayer* player;
    FullScreenWindow* fullScreenWindow = nullptr;
};

MediaPlayer::MediaPlayer(QWidget* parent, Video video) : QWidget(parent)
{
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
    m = std::make_unique<Engine>(this, video);
}

MediaPlayer::~MediaPlayer()
{
    m.reset();  // before the view, a child of ours, goes
}

void MediaPlayer::setURL(const QString& url)
{
    m->Open(url);
}

QString MediaPlayer::URL() const
{
    return m->url();
}

void MediaPlayer::stop()
{
    m->Stop();
}

void MediaPlayer::setVolume(int percent)
{
    m->SetVolume(percent);
}

int MediaPlayer::volume() const
{
    return m->volume();
}

void MediaPlayer::setMute(bool on)
{
    m->SetMute(on);
}

bool MediaPlayer::mute() const
{
    return m->muted();
}

void MediaPlayer::setFullScreen(bool on)
{
    if (on) {
        m->EnterFullScreen();
    } else {
        m->LeaveFullScreen();
    }
}

bool MediaPlayer::fullScreen() const
{
    return m->fullScreenWindow != nullptr;
}

MediaPlayer::State MediaPlayer::state() const
{
    return m->state();
}

bool MediaPlayer::eventFilter(QObject* watched, QEvent* event)
{
    if (!m || watched != m->View()) {
        return QWidget::eventFilter(watched, event);
    }
    const auto* mouse = static_cast<QMouseEvent*>(event);
    switch (event->type()) {
    case QEvent::MouseButtonDblClick:
        if (fullScreen()) {
            m->LeaveFullScreen();
            return true;
        }
        emit MouseDown(mouse->button(), mouse->globalPosition().toPoint());
        return true;
    case QEvent::MouseButtonPress:
        // Full screen, the video is no part of the player window: a press there must not start
        // dragging the window behind it.
        if (!fullScreen()) {
            emit MouseDown(mouse->button(), mouse->globalPosition().toPoint());
        }
        return true;
    case QEvent::MouseButtonRelease:
        if (!fullScreen()) {
            emit MouseUp(mouse->button(), mouse->globalPosition().toPoint());
        }
        return true;
    default:
        return QWidget::eventFilter(watched, event);
    }
}

void MediaPlayer::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    QWidget* view = m ? m->View() : nullptr;
    if (view && !fullScreen()) {
        view->setGeometry(rect());
    }
}

}  // namespace platform
