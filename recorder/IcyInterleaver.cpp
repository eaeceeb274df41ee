#include "IcyInterleaver.h"

#include <algorithm>

namespace recorder {

std::string IcyMetadataBlock(std::string_view title)
{
    std::string clean(title);
    std::replace(clean.begin(), clean.end(), '\'', '`');
    std::replace(clean.begin(), clean.end(), ';', ',');
    const std::string_view prefix = "StreamTitle='", suffix = "';";
    const std::size_t room = 255 * 16 - (prefix.size() + suffix.size());
    std::string text = std::string(prefix) + clean.substr(0, room) + std::string(suffix);
    const std::size_t blocks = (text.size() + 15) / 16;
    text.append(blocks * 16 - text.size(), '\0');
    return static_cast<char>(blocks) + text;
}

void IcyInterleaver::Feed(std::string_view audio, std::string_view title, std::string& out)
{
    while (!audio.empty()) {
        const std::size_t take =
            std::min<std::size_t>(static_cast<std::size_t>(m_UntilBlock), audio.size());
        out.append(audio.substr(0, take));
        audio.remove_prefix(take);
        m_UntilBlock -= static_cast<int>(take);
        if (m_UntilBlock > 0)
            break;
        if (!m_SentAny || title != m_LastTitle) {
            out += IcyMetadataBlock(title);
            m_LastTitle = title;
            m_SentAny = true;
        } else {
            out += '\0';
        }
        m_UntilBlock = m_MetaInt;
    }
}

} // namespace recorder
