#include "IcyInterleaver.h"

QByteArray IcyMetadataBlock(const QByteArray& title)
{
    QByteArray clean = title;
    clean.replace('\'', '`').replace(';', ',');
    const QByteArray prefix = "StreamTitle='";
    const QByteArray suffix = "';";
    const int room = 255 * 16 - int(prefix.size() + suffix.size());
    QByteArray text = prefix + clean.left(room) + suffix;
    const int blocks = int((text.size() + 15) / 16);
    text.append(QByteArray(blocks * 16 - text.size(), '\0'));
    return char(blocks) + text;
}

void IcyInterleaver::Feed(const QByteArray& audio, const QByteArray& title, QByteArray& out)
{
    qsizetype pos = 0;
    while (pos < audio.size()) {
        const qsizetype take = qMin<qsizetype>(m_untilBlock, audio.size() - pos);
        out.append(audio.constData() + pos, take);
        pos += take;
        m_untilBlock -= int(take);
        if (m_untilBlock > 0)
            break;
        if (!m_sentAny || title != m_lastTitle) {
            out.append(IcyMetadataBlock(title));
            m_lastTitle = title;
            m_sentAny = true;
        } else {
            out.append('\0');
        }
        m_untilBlock = m_metaInt;
    }
}
