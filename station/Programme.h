#pragma once
// What a channel plays, cut into small pieces ("chunks") of equal playing time that repeat
// for ever: MP3 frames for radio, TS packets for TV. A channel sends chunk n at n chunk
// lengths after it went on air, so every listener hears the same moment.
#include "TsLoop.h"

#include <QByteArray>
#include <QList>
#include <QString>

class Programme
{
  public:
    virtual ~Programme() = default;
    virtual double chunkSeconds() const = 0;
    virtual QByteArray Chunk(qint64 index) const = 0;
    // Where a new listener joining at index should start (a frame, a picture).
    virtual qint64 EntryAtOrBefore(qint64 index) const { return index; }
    // The song chunk index belongs to ("Artist - Title"); empty for TV.
    virtual QByteArray TitleAt(qint64 index) const
    {
        Q_UNUSED(index);
        return {};
    }
};

// Songs played one after the other, round and round. Every song must be MP3 of one sample
// rate (so every frame lasts as long); the frames are joined without gaps.
class Mp3Programme : public Programme
{
  public:
    // Adds one song; false (and nothing added) when data holds no MP3 frames or its sample
    // rate differs from the songs before it.
    bool AddSong(const QByteArray& data, const QByteArray& title);
    int songCount() const { return int(m_titles.size()); }
    qint64 frameCount() const { return m_offsets.size(); }

    double chunkSeconds() const override;
    QByteArray Chunk(qint64 index) const override;
    QByteArray TitleAt(qint64 index) const override;

  private:
    QByteArray m_audio;
    QList<qsizetype> m_offsets; // frame starts in m_audio
    QList<qint64> m_songStarts; // first frame of each song
    QList<QByteArray> m_titles;
    int m_sampleRate = 0;
    int m_samples = 0;
};

class TsProgramme : public Programme
{
  public:
    bool Load(const QByteArray& clip) { return m_loop.Load(clip); }
    double chunkSeconds() const override { return m_loop.packetSeconds(); }
    QByteArray Chunk(qint64 index) const override { return m_loop.Packet(index); }
    qint64 EntryAtOrBefore(qint64 index) const override { return m_loop.EntryAtOrBefore(index); }

  private:
    TsLoop m_loop;
};
