// What the receiving side hands to the recorder, whether the station sends one ICY stream or HLS
// segments.
#pragma once

#include <QString>

#include <string_view>

namespace recorder {

// A connection that has brought no byte for this long has stalled.
inline constexpr int kStallMs = 15000;

// Waits before each reconnect attempt (0, 1, 2 ...): 1, 2, 4 ... up to 60 seconds.
int DefaultReconnectWaitMs(int attempt);

class StreamReceiver
{
  public:
    virtual ~StreamReceiver() = default;
    virtual void ConnectionUp() = 0;
    // The header in ICY form; extension after its content type (".mp3", ".aac", ".ogg").
    // resumed: the same stream again after a reconnect.
    virtual void HeaderReceived(std::string_view header, const QString& extension,
                                bool resumed) = 0;
    virtual void DataReceived(std::string_view data) = 0;
    // HLS: one segment's elementary audio, whole frames, and the title it belongs to.
    virtual void SegmentReceived(std::string_view audio, std::string_view title) = 0;
    // HLS: audio was lost between the last segment and the next (notice says how much); what
    // follows does not continue what came before.
    virtual void SegmentsMissed(const QString& notice) = 0;
    // Something the user should know that does not stop the recording (a retry).
    virtual void Notice(const QString& text) = 0;
    virtual void ConnectionWaiting() = 0;
    virtual void ConnectionEnded() = 0;
    virtual void ConnectionFailed(const QString& why) = 0;
    // The server answered with something that is not sound (a video, a web page) or sound we do
    // not record: nothing of it is handed on.
    virtual void StreamRefused(const QString& why) = 0;
};

} // namespace recorder
