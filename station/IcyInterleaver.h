#pragma once
// Puts ICY metadata blocks into one listener's audio: after every metaint audio bytes comes a
// length byte L and 16 * L bytes of text. The title text is sent when it changes (and in the
// first block) and an empty block otherwise, as Icecast does: a recorder that starts a new
// file for every block with text then gets one file per song.
#include <QByteArray>

constexpr int IcyMetaInt = 8192;

// "StreamTitle='title';" padded with NULs to a multiple of 16, preceded by its length byte.
// Titles are cut to what one block can carry; a quote or semicolon in them would end the value
// early for every client, so they are replaced.
QByteArray IcyMetadataBlock(const QByteArray& title);

class IcyInterleaver
{
  public:
    explicit IcyInterleaver(int metaInt = IcyMetaInt) : m_metaInt(metaInt) {}

    // Appends audio to out, with the blocks that fall due inside it. title is the title of the
    // song these bytes belong to.
    void Feed(const QByteArray& audio, const QByteArray& title, QByteArray& out);

  private:
    int m_metaInt;
    int m_untilBlock = m_metaInt;
    QByteArray m_lastTitle;
    bool m_sentAny = false;
};
