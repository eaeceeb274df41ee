// Every libmpv call of the program lives in this file. The engine runs on its own threads; its
// wakeups and frame notices arrive here as queued calls on the GUI thread, where the events are
// drained and routed through two tables (events, observed properties) to the player's typed
// signals. Commands and property writes are asynchronous: the GUI thread never waits on the
// network.
#include "MpvEngine.h"

#include "MpvOptions.h"
#include "VideoViews.h"

#include <QCoreApplication>
#include <QOpenGLContext>
#include <QPointer>

#include <mpv/client.h>
#include <mpv/render.h>
#include <mpv/render_gl.h>

#include <algorithm>
#include <clocale>
#include <iterator>
#include <span>
#include <utility>
#include <vector>

namespace platform {

namespace {

void* GetProcAddress(void*, const char* name)
{
    QOpenGLContext* context = QOpenGLContext::currentContext();
    return context ? reinterpret_cast<void*>(context->getProcAddress(name)) : nullptr;
}

QString Text(const mpv_event_property& property)
{
    if (property.format != MPV_FORMAT_STRING || !property.data) {
        return {};
    }
    return QString::fromUtf8(*static_cast<char**>(property.data));
}

bool Debugging()
{
    static const bool debugging = qEnvironmentVariableIsSet("CORVANE_MPV_DEBUG");
    return debugging;
}

constexpr uint64_t LoadReply = 1;
// How long a load waits for the GL view's first context before it starts without video (a
// player given an address before it is on screen); the video is picked up when the context comes.
constexpr int GlWaitMs = 1000;

} // namespace

struct MpvEngine::EventRoute
{
    mpv_event_id id;
    void (MpvEngine::*handler)(const mpv_event&);
};

const MpvEngine::EventRoute MpvEngine::Events[] = {
    {MPV_EVENT_START_FILE, &MpvEngine::OnStartFile},
    {MPV_EVENT_PLAYBACK_RESTART, &MpvEngine::OnPlaybackRestart},
    {MPV_EVENT_END_FILE, &MpvEngine::OnEndFile},
    {MPV_EVENT_COMMAND_REPLY, &MpvEngine::OnCommandReply},
    {MPV_EVENT_LOG_MESSAGE, &MpvEngine::OnLogMessage},
    {MPV_EVENT_PROPERTY_CHANGE, &MpvEngine::OnPropertyChange},
    {MPV_EVENT_NONE, nullptr},
};

struct MpvEngine::PropertyRoute
{
    const char* name;
    mpv_format format;
    void (MpvEngine::*handler)(const mpv_event_property&);
};

const MpvEngine::PropertyRoute MpvEngine::Properties[] = {
    {"metadata/by-key/icy-title", MPV_FORMAT_STRING, &MpvEngine::OnIcyTitle},
    {"metadata/by-key/title", MPV_FORMAT_STRING, &MpvEngine::OnTagTitle},
    {"vid", MPV_FORMAT_INT64, &MpvEngine::OnVideoTrack},
    {"seekable", MPV_FORMAT_FLAG, &MpvEngine::OnSeekable},
    {"file-size", MPV_FORMAT_INT64, &MpvEngine::OnFileSize},
    {"video-format", MPV_FORMAT_STRING, &MpvEngine::OnVideoFormat},
    {"metadata/by-key/icy-name", MPV_FORMAT_STRING, &MpvEngine::OnIcyName},
    {"metadata/by-key/icy-br", MPV_FORMAT_STRING, &MpvEngine::OnIcyBitrate},
    {"track-list", MPV_FORMAT_NODE, &MpvEngine::OnTrackList},
    {nullptr, MPV_FORMAT_NONE, nullptr},
};

MpvEngine::MpvEngine(MediaPlayer* owner, Video video) : q(owner), m_video(video)
{
    // libmpv refuses to start unless numbers are read with the C locale's rules. The one place
    // the program sets it: nothing else of ours reads or writes numbers through the locale, and
    // Qt's application object resets it when it starts, so earlier would not last.
    std::setlocale(LC_NUMERIC, "C");
    m_handle = mpv_create();
    if (m_handle) {
        Configure(video);
        if (mpv_initialize(m_handle) < 0) {
            mpv_terminate_destroy(m_handle);
            m_handle = nullptr;
        }
    }
    if (!m_handle) {
        return;
    }
    // The errors give ErrorOccurred its text; CORVANE_MPV_DEBUG=1 shows the engine's whole story.
    mpv_request_log_messages(m_handle, Debugging() ? "v" : "error");
    for (uint64_t i = 0; Properties[i].name; ++i) {
        mpv_observe_property(m_handle, i, Properties[i].name, Properties[i].format);
    }
    mpv_set_wakeup_callback(
        m_handle,
        [](void* self) {
            auto* engine = static_cast<MpvEngine*>(self);
            if (!engine->m_wakeQueued.exchange(true)) {
                QMetaObject::invokeMethod(
                    engine, [engine] { engine->Drain(); }, Qt::QueuedConnection);
            }
        },
        this);

    m_glWait.setSingleShot(true);
    m_glWait.setInterval(GlWaitMs);
    connect(&m_glWait, &QTimer::timeout, this, [this] {
        if (m_loadWaiting) {
            Load();
        }
    });
}

MpvEngine::~MpvEngine()
{
    m_glWait.stop();
    if (m_handle) {
        mpv_set_wakeup_callback(m_handle, nullptr, nullptr);
    }
    if (m_glView) {
        m_glView->Release(); // frees the render context with its GL context current
    }
    if (m_softView) {
        m_softView->onResized = nullptr;
    }
    FreeRenderContext();
    if (m_handle) {
        mpv_terminate_destroy(m_handle);
    }
}

void MpvEngine::Configure(Video video)
{
    for (const auto& [name, value] : EngineOptions(video)) {
        mpv_set_option_string(m_handle, name, value);
    }
}

// ---- commands -------------------------------------------------------------------------------

void MpvEngine::Load()
{
    m_loadWaiting = false;
    m_glWait.stop();
    if (!m_handle) {
        Fail(QCoreApplication::translate("platform::MpvEngine",
                                         "The media engine could not be started"));
        return;
    }
    ++m_pendingLoads;
    m_videoDropped = false;
    const QByteArray address = m_url.toUtf8();
    if (m_video == Video::On && !m_render) {
        // No view with a context yet: sound alone for now, and the view is made when a video
        // track shows up. Without this the engine would fail the video output before the sound
        // exists and give the whole file up.
        LoadWithoutVideo(address);
        return;
    }
    Command({"loadfile", address.constData(), "replace"}, LoadReply);
}

// loadfile with the file-local option vid=no, as named arguments (their positions changed
// between engine versions).
void MpvEngine::LoadWithoutVideo(const QByteArray& address)
{
    auto text = [](const char* value) {
        mpv_node node{};
        node.format = MPV_FORMAT_STRING;
        node.u.string = const_cast<char*>(value);
        return node;
    };
    mpv_node optionValues[] = {text("no")};
    char* optionKeys[] = {const_cast<char*>("vid")};
    mpv_node_list optionList{1, optionValues, optionKeys};
    mpv_node options{};
    options.format = MPV_FORMAT_NODE_MAP;
    options.u.list = &optionList;

    mpv_node values[] = {text("loadfile"), text(address.constData()), text("replace"), options};
    char* keys[] = {const_cast<char*>("name"), const_cast<char*>("url"), const_cast<char*>("flags"),
                    const_cast<char*>("options")};
    mpv_node_list list{4, values, keys};
    mpv_node command{};
    command.format = MPV_FORMAT_NODE_MAP;
    command.u.list = &list;
    m_videoDropped = true;
    mpv_command_node_async(m_handle, LoadReply, &command);
}

void MpvEngine::SetStallTimeout(double seconds)
{
    const QByteArray value = QByteArray::number(seconds);
    const char* text = value.constData();
    if (m_handle) {
        // Copied at once; taken in order, before any later load.
        mpv_set_property_async(m_handle, 0, "network-timeout", MPV_FORMAT_STRING, &text);
    }
}

void MpvEngine::SetVolume(int percent)
{
    m_volume = std::clamp(percent, 0, 100);
    double level = m_volume;
    if (m_handle) {
        mpv_set_property_async(m_handle, 0, "volume", MPV_FORMAT_DOUBLE, &level);
    }
}

void MpvEngine::SetMute(bool on)
{
    m_muted = on;
    SetFlag("mute", on);
}

void MpvEngine::Command(std::initializer_list<const char*> words, uint64_t reply)
{
    if (!m_handle) {
        return;
    }
    std::vector<const char*> args(words);
    args.push_back(nullptr);
    mpv_command_async(m_handle, reply, args.data());
}

void MpvEngine::SetFlag(const char* name, bool value)
{
    int flag = value ? 1 : 0;
    if (m_handle) {
        mpv_set_property_async(m_handle, 0, name, MPV_FORMAT_FLAG, &flag); // copied at once
    }
}

// ---- events ---------------------------------------------------------------------------------

void MpvEngine::Drain()
{
    m_wakeQueued = false;
    QPointer<MpvEngine> alive(this);
    while (m_handle) {
        const mpv_event* event = mpv_wait_event(m_handle, 0);
        if (event->event_id == MPV_EVENT_NONE) {
            break;
        }
        for (const EventRoute* route = Events; route->handler; ++route) {
            if (route->id == event->event_id) {
                (this->*route->handler)(*event);
                break;
            }
        }
        if (!alive) {
            return; // a slot deleted the player
        }
    }
    if (m_endError < 0) {
        const int error = std::exchange(m_endError, 0);
        Fail(m_firstError.isEmpty() ? QString::fromUtf8(mpv_error_string(error)) : m_firstError);
    }
}

void MpvEngine::OnStartFile(const mpv_event&)
{
    m_pendingLoads = std::max(0, m_pendingLoads - 1);
    m_firstError.clear();
    m_endError = 0;
    m_frameShown = false;
    m_frameDue = false;
    m_videoTrack = 0;
    m_fileHasEnd = false;
    m_fileHasVideo = false;
    m_filePlayed = false;
    if (m_reconnect.Active()) {
        emit q->Reconnecting(0); // the attempt is under way
    } else {
        SetState(State::Opening);
    }
}

void MpvEngine::OnPlaybackRestart(const mpv_event&)
{
    if (m_state == State::Opening || m_state == State::Reconnecting) {
        m_filePlayed = true;
        m_reconnect.Succeeded();
        SetState(State::Playing);
    }
}

void MpvEngine::OnEndFile(const mpv_event& event)
{
    const auto* end = static_cast<const mpv_event_end_file*>(event.data);
    if (m_pendingLoads > 0 || m_state == State::Stopped) {
        return; // the end of what a newer load or a stop replaced
    }
    switch (end->reason) {
    case MPV_END_FILE_REASON_EOF:
        if (LiveStreamLost()) {
            ReconnectLater();
        } else {
            SetState(State::Ended);
        }
        break;
    case MPV_END_FILE_REASON_ERROR:
        // Losing the video output for want of a GL context is ours, not the stream's fault.
        if (end->error == MPV_ERROR_VO_INIT_FAILED && m_videoDropped) {
            SetState(State::Ended);
        } else if (LiveStreamLost()) {
            ReconnectLater();
        } else {
            // Told once this drain is through: the engine hands out its log lines (the cause)
            // after its events.
            m_endError = end->error;
        }
        break;
    case MPV_END_FILE_REASON_REDIRECT:
        break; // a playlist: its entries follow
    default:
        SetState(State::Stopped);
        break;
    }
}

void MpvEngine::OnCommandReply(const mpv_event& event)
{
    if (event.reply_userdata == LoadReply && event.error < 0) {
        m_pendingLoads = std::max(0, m_pendingLoads - 1);
        if (m_reconnect.Active() && m_state != State::Stopped) {
            ReconnectLater();
        } else {
            Fail(QString::fromUtf8(mpv_error_string(event.error)));
        }
    }
}

void MpvEngine::OnLogMessage(const mpv_event& event)
{
    const auto* message = static_cast<const mpv_event_log_message*>(event.data);
    if (Debugging()) {
        qDebug("[%s:%d] %s", message->prefix, message->log_level,
               QByteArray(message->text).trimmed().constData());
        if (message->log_level > MPV_LOG_LEVEL_ERROR) {
            return;
        }
    }
    // The first error of a file names the cause ("Connection refused", "No such file"); the
    // later ones only say that opening failed. A sound device that fails is no cause: the engine
    // falls back to silence.
    if (m_firstError.isEmpty() && !QByteArray(message->prefix).startsWith("ao")) {
        m_firstError = QString::fromUtf8(message->text).trimmed();
    }
}

void MpvEngine::OnPropertyChange(const mpv_event& event)
{
    if (event.reply_userdata < std::size(Properties) - 1) {
        const auto* property = static_cast<const mpv_event_property*>(event.data);
        (this->*Properties[event.reply_userdata].handler)(*property);
    }
}

void MpvEngine::OnIcyTitle(const mpv_event_property& property)
{
    m_icyTitle = Text(property);
    UpdateTitle();
}

void MpvEngine::OnTagTitle(const mpv_event_property& property)
{
    m_tagTitle = Text(property);
    UpdateTitle();
}

void MpvEngine::OnVideoTrack(const mpv_event_property& property)
{
    // Kept when the output is lost, so that a new context can choose the track again.
    if (property.format == MPV_FORMAT_INT64) {
        m_videoTrack = *static_cast<int64_t*>(property.data);
    }
}

// A video track (not the cover picture of a song) makes the view, which then takes the track.
void MpvEngine::OnTrackList(const mpv_event_property& property)
{
    const auto* list = static_cast<const mpv_node*>(property.data);
    if (property.format != MPV_FORMAT_NODE || list->format != MPV_FORMAT_NODE_ARRAY || View()) {
        return;
    }
    for (const mpv_node& track : std::span(list->u.list->values, list->u.list->num)) {
        if (track.format != MPV_FORMAT_NODE_MAP) {
            continue;
        }
        QByteArray type;
        int cover = 0;
        int64_t id = 0;
        for (int i = 0; i < track.u.list->num; ++i) {
            const QByteArray key(track.u.list->keys[i]);
            const mpv_node& value = track.u.list->values[i];
            if (key == "type" && value.format == MPV_FORMAT_STRING) {
                type = value.u.string;
            } else if (key == "albumart" && value.format == MPV_FORMAT_FLAG) {
                cover = value.u.flag;
            } else if (key == "id" && value.format == MPV_FORMAT_INT64) {
                id = value.u.int64;
            }
        }
        if (type == "video" && !cover) {
            m_videoTrack = m_videoTrack > 0 ? m_videoTrack : id;
            MakeView();
            return;
        }
    }
}

void MpvEngine::OnVideoFormat(const mpv_event_property& property)
{
    m_fileHasVideo = !Text(property).isEmpty();
}

// A file, a recording on a web server, anything with a known size or a place to seek to, has an
// end; a live stream has neither (the engine's duration is no sign: it estimates one for a live
// stream from what it has read). Latched for the file: both go away as the file ends.
void MpvEngine::OnSeekable(const mpv_event_property& property)
{
    if (property.format == MPV_FORMAT_FLAG && *static_cast<int*>(property.data)) {
        m_fileHasEnd = true;
    }
}

void MpvEngine::OnFileSize(const mpv_event_property& property)
{
    if (property.format == MPV_FORMAT_INT64 && *static_cast<int64_t*>(property.data) > 0) {
        m_fileHasEnd = true;
    }
}

// The station's own name and bitrate from its header: kept through a reconnect (the header comes
// again), forgotten with the address.
void MpvEngine::OnIcyName(const mpv_event_property& property)
{
    const QString name = Text(property).trimmed();
    if (!name.isEmpty() && name != m_stationName) {
        m_stationName = name;
        emit q->StationChanged(m_stationName, m_stationKbps);
    }
}

void MpvEngine::OnIcyBitrate(const mpv_event_property& property)
{
    // "128", or "128,128" from servers that list every quality they have.
    const int kbps = Text(property).section(QLatin1Char(','), 0, 0).trimmed().toInt();
    if (kbps > 0 && kbps != m_stationKbps) {
        m_stationKbps = kbps;
        emit q->StationChanged(m_stationName, m_stationKbps);
    }
}

// ---- rendering ------------------------------------------------------------------------------

void MpvEngine::CreateRenderContext(bool openGl)
{
    if (!m_handle || m_render) {
        return;
    }
    mpv_opengl_init_params glInit{&GetProcAddress, nullptr};
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE,
         const_cast<char*>(openGl ? MPV_RENDER_API_TYPE_OPENGL : MPV_RENDER_API_TYPE_SW)},
        {openGl ? MPV_RENDER_PARAM_OPENGL_INIT_PARAMS : MPV_RENDER_PARAM_INVALID, &glInit},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (mpv_render_context_create(&m_render, m_handle, params) < 0) {
        m_render = nullptr;
        return;
    }
    mpv_render_context_set_update_callback(
        m_render,
        [](void* self) {
            auto* engine = static_cast<MpvEngine*>(self);
            if (!engine->m_renderQueued.exchange(true)) {
                QMetaObject::invokeMethod(
                    engine, [engine] { engine->OnRenderUpdate(); }, Qt::QueuedConnection);
            }
        },
        this);
    if (m_loadWaiting) {
        Load();
    } else if (m_videoDropped && (m_state == State::Opening || m_state == State::Playing)) {
        // The file started without video, or lost its output with the old context: choose its
        // video track (the one it had, else the first) so that this context shows it.
        const QByteArray track = QByteArray::number(qlonglong(m_videoTrack > 0 ? m_videoTrack : 1));
        Command({"set", "vid", track.constData()});
    }
}

void MpvEngine::FreeRenderContext()
{
    if (!m_render) {
        return;
    }
    mpv_render_context_free(m_render); // also brings the video output down, and waits for that
    m_render = nullptr;
    if (m_state == State::Opening || m_state == State::Playing) {
        m_videoDropped = true;
    }
}

void MpvEngine::OnRenderUpdate()
{
    m_renderQueued = false;
    if (!m_render) {
        return;
    }
    if (mpv_render_context_update(m_render) & MPV_RENDER_UPDATE_FRAME) {
        // Nobody can see it (the player is hidden), or it is not the current address's own: that
        // one is being replaced, or has no video and the engine redraws the last one it had.
        const bool replaced = m_pendingLoads > 0 || m_loadWaiting || m_state == State::Stopped;
        if (!View()->isVisible() || replaced || !m_fileHasVideo) {
            SkipFrame();
            return;
        }
        m_frameDue = true;
        if (m_glView) {
            m_glView->SetBlank(false);
        }
        if (m_softView) {
            RenderSoftware();
        } else if (m_glView) {
            m_glView->update();
        }
    }
}

// A frame nobody can see (the player is hidden) is taken without drawing, so that the engine's
// video thread does not wait for it and the sound plays on undisturbed.
void MpvEngine::SkipFrame()
{
    int skip = 1;
    int block = 0;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_SKIP_RENDERING, &skip},
        {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &block},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context_render(m_render, params);
}

void MpvEngine::PaintGl(unsigned fbo, QSize pixels)
{
    if (!m_render) {
        return;
    }
    mpv_opengl_fbo target{static_cast<int>(fbo), pixels.width(), pixels.height(), 0};
    int flipY = 1;
    int block = 0; // the GUI thread never waits for a frame's display time
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_OPENGL_FBO, &target},
        {MPV_RENDER_PARAM_FLIP_Y, &flipY},
        {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &block},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context_render(m_render, params);
    NoteFrameDrawn();
}

void MpvEngine::RenderSoftware()
{
    if (!m_render || !m_softView || !m_frameDue) {
        return;
    }
    const QSize pixels = m_softView->PixelSize();
    if (pixels.isEmpty()) {
        return;
    }
    QImage& canvas = m_softView->Canvas(pixels);
    int size[2] = {pixels.width(), pixels.height()};
    size_t stride = static_cast<size_t>(canvas.bytesPerLine());
    int block = 0;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_SW_SIZE, size},
        {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char*>("bgr0")}, // QImage::Format_RGB32 in memory
        {MPV_RENDER_PARAM_SW_STRIDE, &stride},
        {MPV_RENDER_PARAM_SW_POINTER, canvas.bits()},
        {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &block},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (mpv_render_context_render(m_render, params) >= 0) {
        m_softView->update();
        NoteFrameDrawn();
    }
}

} // namespace platform
