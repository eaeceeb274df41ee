#pragma once
// A listener for the tests: connects with a raw socket, sends a request, and takes the stream
// apart as an ICY client must (metadata blocks after every metaint audio bytes).
#include <QByteArray>
#include <QList>
#include <QTcpSocket>
#include <functional>

// The request the recorder sends, byte for byte.
extern const QByteArray RecorderRequest;
// What libmpv/ffmpeg-style players send when they want no titles.
extern const QByteArray PlainRequest;

class IcyTestClient
{
  public:
    bool Connect(quint16 port, const QByteArray& request);
    // Reads until the blank line that ends the header; the rest counts as stream.
    bool ReadHeader(int timeoutMs = 15000);
    // Reads and parses whatever arrives within the time; false when nothing came or it closed.
    bool ReadSome(int timeoutMs = 15000);
    bool WaitForTitles(int count)
    {
        return ReadUntil([&] { return titles.size() >= count; }, 30000);
    }
    bool WaitForAudio(qint64 bytes)
    {
        return ReadUntil([&] { return audio.size() >= bytes; });
    }
    void Close() { m_socket.abort(); }

    QByteArray header;
    int metaInt = 0;          // from icy-metaint:, 0 when absent
    QByteArray audio;         // audio bytes in order (metadata removed)
    QList<QByteArray> titles; // StreamTitle of every block with text
    QList<qint64> titleAt;    // audio bytes received before each of those blocks
    int emptyBlocks = 0;
    bool badBlock = false; // a block whose text is not StreamTitle='...';

  private:
    bool ReadUntil(const std::function<bool()>& done, int timeoutMs = 15000);
    void Parse(const QByteArray& data);

    QTcpSocket m_socket;
    qsizetype m_untilBlock = 0; // audio bytes before the next metadata block
    QByteArray m_pending;       // received, not yet taken apart
};
