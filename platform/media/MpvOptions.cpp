#include "MpvOptions.h"

#include <QByteArray>
#include <QtGlobal>

namespace platform {

// No configuration files, scripts, on-screen controls or key bindings; network timeouts; software
// decoding. The cache is sized for seconds: a live stream only arrives as fast as it plays, and a
// radio that plays for hours never seeks back into what it played.
std::vector<EngineOption> EngineOptions(MediaPlayer::Video video)
{
    std::vector<EngineOption> options = {
        {"config", "no"},
        {"load-scripts", "no"},
        {"osc", "no"},
        {"ytdl", "no"},
        {"input-default-bindings", "no"},
        {"input-vo-keyboard", "no"},
        {"input-cursor", "no"},
        {"terminal", "no"},
        {"idle", "yes"},
        {"keep-open", "no"},
        {"force-window", "no"},
        {"hwdec", "no"},
        {"gpu-hwdec-interop", "no"}, // nor probe for hardware decoders when the view is made
        {"audio-display", "no"},
        {"audio-client-name", "Corvane net player"},
        // No sound device is no error: play on, silently.
        {"audio-fallback-to-null", "yes"},
        {"volume-max", "100"},
        {"cache", "auto"},
        {"cache-secs", "5"},
        // The bound for TV (a few seconds of it); radio stays far below.
        {"demuxer-max-bytes", "16MiB"},
        // Seconds of what was played: the engine hands out a live stream's titles from there (with
        // nothing kept, they never arrive).
        {"demuxer-max-back-bytes", "256KiB"},
        // Also what counts as a stall: a live stream without data for this long is lost.
        {"network-timeout", "10"},
        // Until a video track shows up (and its view has a context) files load without video.
        {"vo", video == MediaPlayer::Video::Off ? "null" : "libmpv"},
        {"vid", video == MediaPlayer::Video::Off ? "no" : "auto"},
    };
    static const QByteArray ao = qgetenv("CORVANE_MPV_AO");
    if (!ao.isEmpty())
        options.emplace_back("ao", ao.constData());
    return options;
}

} // namespace platform
