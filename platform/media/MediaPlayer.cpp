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
    Engine(MediaPlayer* owner, Video video) : MpvEngine(owner, video), player(owner) {}

    // Beneath the cover, in the window or full screen, wherever the player is now.
    void ViewMade(QWidget* view) override
    {
        view->installEventFilter(player);
        if (fullScreenWindow) {
            fullScreenWindow->Hold(Layers());
        } else {
            view->setGeometry(player->rect());
        }
        view->show();
        if (QWidget* cover = player->cover()) {
            cover->raise();
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

    QList<QWidget*> Layers() const
    {
        QList<QWidget*> layers;
        for (QWidget* layer : {View(), player->cover()}) {
            if (layer) {
                layers << layer;
            }
        }
        return layers;
    }

    void EnterFullScreen()
    {
        const QList<QWidget*> layers = Layers();
        if (layers.isEmpty() || fullScreenWindow) {
            return;
        }
        fullScreenWindow = new FullScreenWindow;
        fullScreenWindow->onLeave = [this] { LeaveFullScreen(); };
        fullScreenWindow->Hold(layers);
        fullScreenWindow->showFullScreen();
        fullScreenWindow->activateWindow();
        fullScreenWindow->setFocus();
    }

    void LeaveFullScreen()
    {
        if (!fullScreenWindow) {
            return;
        }
        for (QWidget* layer : Layers()) {
            const bool shown = layer->isVisibleTo(fullScreenWindow);
            layer->setParent(player);
            layer->setGeometry(player->rect());
            layer->setVisible(shown);
            layer->raise();
        }
        fullScreenWindow->hide();
        fullScreenWindow->onLeave = nullptr;
        fullScreenWindow->deleteLater(); // we may be inside its own key handler
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
    // Until a video track comes there is no view: presses on the bare player count the same.
    installEventFilter(this);
    connect(this, &MediaPlayer::StateChanged, this, &MediaPlayer::UpdateCover);
    connect(this, &MediaPlayer::FrameShown, this, &MediaPlayer::UpdateCover);
}

MediaPlayer::~MediaPlayer()
{
    m.reset(); // before the view, a child of ours, goes
}

void MediaPlayer::setURL(const QString& url)
{
    m->Open(url);
    UpdateCover();
}

QString MediaPlayer::URL() const
{
    return m->url();
}

void MediaPlayer::stop()
{
    m->Stop();
    UpdateCover();
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

QString MediaPlayer::errorText() const
{
    return m->error();
}

QString MediaPlayer::stationName() const
{
    return m->stationName();
}

int MediaPlayer::stationKbps() const
{
    return m->stationKbps();
}

void MediaPlayer::setReconnectWaits(std::function<int(int)> waitMs)
{
    m->SetReconnectWaits(std::move(waitMs));
}

void MediaPlayer::setStallTimeout(double seconds)
{
    m->SetStallTimeout(seconds);
}

bool MediaPlayer::pictureShown() const
{
    return m && m->pictureShown();
}

void MediaPlayer::setCover(QWidget* cover)
{
    if (m_cover) {
        m_cover->removeEventFilter(this);
    }
    m_cover = cover;
    if (cover) {
        cover->setParent(this);
        cover->setGeometry(rect());
        cover->installEventFilter(this);
    }
    UpdateCover();
}

void MediaPlayer::UpdateCover()
{
    if (!m_cover) {
        return;
    }
    m_cover->setVisible(!pictureShown());
    m_cover->raise();
}

bool MediaPlayer::eventFilter(QObject* watched, QEvent* event)
{
    if (!m || !watched || (watched != m->View() && watched != m_cover && watched != this)) {
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
    if (!m || fullScreen()) {
        return;
    }
    for (QWidget* layer : {m->View(), m_cover}) {
        if (layer) {
            layer->setGeometry(rect());
        }
    }
}

} // namespace platform
