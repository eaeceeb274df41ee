// The engine's side that never speaks to libmpv: what the player asks for, the states it goes
// through, and the video view made when a video track comes. The calls themselves are in
// MpvEngine.cpp.
#include "MpvEngine.h"

#include "StreamError.h"
#include "VideoViews.h"

#include <QPointer>

namespace platform {

void MpvEngine::Open(const QString& url)
{
    m_url = url;
    m_reconnect.Cancel();
    m_error.clear();
    if (!m_stationName.isEmpty() || m_stationKbps != 0) {
        m_stationName.clear();
        m_stationKbps = 0;
        emit q->StationChanged(m_stationName, m_stationKbps);
    }
    if (url.isEmpty()) {
        Stop();
        return;
    }
    ClearPicture();
    SetState(State::Opening);
    if (m_glView && !m_render) {
        // The engine picks its video output when the file opens: give the view a moment to get
        // its GL context first (it gets one when it is first shown).
        m_loadWaiting = true;
        m_glWait.start();
        return;
    }
    Load();
}

void MpvEngine::Stop()
{
    m_loadWaiting = false;
    m_glWait.stop();
    m_reconnect.Cancel();
    m_pendingLoads = 0;
    Command({"stop"});
    ClearPicture();
    SetState(State::Stopped);
}

// The last picture must not outlive its stream: nothing is shown until the current address
// draws a frame of its own.
void MpvEngine::ClearPicture()
{
    m_frameShown = false;
    m_frameDue = false;
    if (m_softView) {
        m_softView->Clear();
    }
    if (m_glView) {
        m_glView->SetBlank(true);
    }
}

void MpvEngine::SetState(State state)
{
    if (m_state == state) {
        return;
    }
    m_state = state;
    if (state != State::Opening && state != State::Playing) {
        ClearPicture();
    }
    emit q->StateChanged(state);
}

void MpvEngine::Fail(const QString& text)
{
    m_error = ShortStreamError(text, m_url);
    SetState(State::Failed);
    emit q->ErrorOccurred(m_error);
}

// A live stream (no end of its own) that had sound, or one being brought back, is reopened when it
// is lost; a file, or a recording with a duration, simply ends.
bool MpvEngine::LiveStreamLost() const
{
    return !m_fileHasEnd && (m_filePlayed || m_reconnect.Active());
}

void MpvEngine::ReconnectLater()
{
    SetState(State::Reconnecting);
    emit q->Reconnecting(m_reconnect.Next());
}

// Made when the first video track shows up: a radio never has a view, nor the OpenGL context
// that one would bring.
void MpvEngine::MakeView()
{
    if (m_video == Video::Off || View()) {
        return;
    }
    if (UseOpenGlVideo()) {
        m_glView = new GlVideoView(q);
        m_glView->onContextReady = [this] { CreateRenderContext(true); };
        m_glView->onContextGone = [this] { FreeRenderContext(); };
        m_glView->onPaint = [this](unsigned fbo, QSize pixels) { PaintGl(fbo, pixels); };
    } else {
        m_softView = new SoftwareVideoView(q);
        m_softView->onResized = [this] { RenderSoftware(); };
    }
    ViewMade(View());
    if (m_softView) {
        CreateRenderContext(false);
    }
}

QWidget* MpvEngine::View() const
{
    return m_glView ? static_cast<QWidget*>(m_glView) : m_softView;
}

void MpvEngine::UpdateTitle()
{
    const QString title = m_icyTitle.isEmpty() ? m_tagTitle : m_icyTitle;
    if (title != m_title) {
        m_title = title;
        emit q->TitleChanged(title);
    }
}

void MpvEngine::NoteFrameDrawn()
{
    if (!m_frameDue || m_frameShown) {
        return;
    }
    m_frameShown = true;
    // Told after the paint, never from inside it.
    QMetaObject::invokeMethod(
        q,
        [player = QPointer<MediaPlayer>(q)] {
            // Not when the address changed since (its picture is gone).
            if (player && player->pictureShown()) {
                emit player->FrameShown();
            }
        },
        Qt::QueuedConnection);
}

} // namespace platform
