#pragma once
// The engine behind MediaPlayer: the one place that talks to libmpv (MpvEngine.cpp). Internal to
// the media target; this header names the engine's types without including its headers.
#include "MediaPlayer.h"
#include "Reconnect.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <atomic>
#include <cstdint>
#include <initializer_list>

struct mpv_handle;
struct mpv_render_context;
struct mpv_event;
struct mpv_event_property;

namespace platform {

class GlVideoView;
class SoftwareVideoView;

class MpvEngine : public QObject
{
  public:
    using State = MediaPlayer::State;
    using Video = MediaPlayer::Video;

    MpvEngine(MediaPlayer* owner, Video video);
    ~MpvEngine() override;

    void Open(const QString& url);
    void Stop();
    void SetVolume(int percent);
    void SetMute(bool on);
    void SetReconnectWaits(Reconnect::Waits waitMs) { m_reconnect.SetWaits(std::move(waitMs)); }
    void SetStallTimeout(double seconds);

    QString url() const { return m_url; }
    int volume() const { return m_volume; }
    bool muted() const { return m_muted; }
    State state() const { return m_state; }
    QString error() const { return m_error; }
    QString stationName() const { return m_stationName; }
    int stationKbps() const { return m_stationKbps; }
    // The current address has shown a frame of video (cleared by every new address or stop).
    bool pictureShown() const { return m_frameShown; }
    // The video surface (a child of the player unless full screen); null without video.
    QWidget* View() const;

  protected:
    // The video view was made (the first video track showed up): a child of the player, shown.
    virtual void ViewMade(QWidget* view) { Q_UNUSED(view); }

  private:
    struct EventRoute;
    struct PropertyRoute;
    static const EventRoute Events[];
    static const PropertyRoute Properties[];

    void Configure(Video video);
    void MakeView();
    void Load();
    void LoadWithoutVideo(const QByteArray& address);
    void SetState(State state);
    void Fail(const QString& text);
    bool LiveStreamLost() const;
    void ReconnectLater();
    void ClearPicture();
    void Command(std::initializer_list<const char*> words, uint64_t reply = 0);
    void SetFlag(const char* name, bool value);

    void Drain();
    void OnStartFile(const mpv_event& event);
    void OnPlaybackRestart(const mpv_event& event);
    void OnEndFile(const mpv_event& event);
    void OnCommandReply(const mpv_event& event);
    void OnLogMessage(const mpv_event& event);
    void OnPropertyChange(const mpv_event& event);
    void OnIcyTitle(const mpv_event_property& property);
    void OnTagTitle(const mpv_event_property& property);
    void OnVideoTrack(const mpv_event_property& property);
    void OnSeekable(const mpv_event_property& property);
    void OnFileSize(const mpv_event_property& property);
    void OnVideoFormat(const mpv_event_property& property);
    void OnIcyName(const mpv_event_property& property);
    void OnIcyBitrate(const mpv_event_property& property);
    void OnTrackList(const mpv_event_property& property);
    void UpdateTitle();

    void CreateRenderContext(bool openGl);
    void FreeRenderContext();
    void OnRenderUpdate();
    void SkipFrame();
    void PaintGl(unsigned fbo, QSize pixels);
    void RenderSoftware();
    void NoteFrameDrawn();

    MediaPlayer* q;
    Video m_video;
    mpv_handle* m_handle = nullptr;
    mpv_render_context* m_render = nullptr;
    GlVideoView* m_glView = nullptr;
    SoftwareVideoView* m_softView = nullptr;
    QTimer m_glWait;

    QString m_url;
    int m_volume = 100;
    bool m_muted = false;
    State m_state = State::Stopped;
    int m_pendingLoads = 0; // loads asked for whose start the engine has not reported yet
    bool m_loadWaiting = false;
    QString m_icyTitle, m_tagTitle, m_title;
    QString m_firstError; // of the file playing
    QString m_error;      // the last failure told, in one line
    QString m_stationName;
    int m_stationKbps = 0;
    bool m_fileHasEnd = false; // a file or a recording: its end is the end
    bool m_filePlayed = false; // the file playing got as far as sound
    // A video track is decoded: without one the engine may still redraw the last picture it had.
    bool m_fileHasVideo = false;
    Reconnect m_reconnect{[this] { Load(); }};
    int m_endError = 0; // its end, when that was an error not yet told
    int64_t m_videoTrack = 0;
    bool m_videoDropped = false; // this file lost its video output through us (no GL context)
    bool m_frameDue = false;
    bool m_frameShown = false; // of the current address; frames of a replaced one are skipped
    std::atomic<bool> m_wakeQueued{false};
    std::atomic<bool> m_renderQueued{false};
};

} // namespace platform
