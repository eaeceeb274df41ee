// Puts ICY metadata blocks into one listener's audio: after every metaint audio bytes comes a
// length byte L and 16 * L bytes of text. The title text is sent when it changes (and in the
// first block) and an empty block otherwise, as Icecast does: a recorder that starts a new
// file for every block with text then gets one file per song. Used by the demo station's
// servers and by the relay when the station itself sends no ICY stream (HLS).
#pragma once

#include <string>
#include <string_view>

namespace recorder {

inline constexpr int kIcyMetaInt = 8192;

// "StreamTitle='title';" padded with NULs to a multiple of 16, preceded by its length byte.
// Titles are cut to what one block can carry; a quote or semicolon in them would end the value
// early for every client, so they are replaced.
std::string IcyMetadataBlock(std::string_view title);

class IcyInterleaver
{
  public:
    explicit IcyInterleaver(int metaInt = kIcyMetaInt) : m_MetaInt(metaInt) {}

    // Appends audio to out, with the blocks that fall due inside it. title is the title of the
    // song these bytes belong to.
    void Feed(std::string_view audio, std::string_view title, std::string& out);

  private:
    int m_MetaInt;
    int m_UntilBlock = m_MetaInt;
    std::string m_LastTitle;
    bool m_SentAny = false;
};

} // namespace recorder
