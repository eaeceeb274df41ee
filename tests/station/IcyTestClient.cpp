#include "IcyTestClient.h"

#include <QDeadlineTimer>
#include <QHostAddress>

const QByteArray RecorderRequest =
    "GET / HTTP/1.0\r\nHost: 127.0.0.1\r\nUser-Agent: WinampMPEG/2.7\r\n"
    "Accept: */*\r\nIcy-MetaData:1\r\nConnection: close\r\n\r\n";
const QByteArray PlainRequest = "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\nUser-Agent: test\r\n\r\n";

bool IcyTestClient::Connect(quint16 port, const QByteArray& request)
{
    m_socket.connectToHost(QHostAddress::LocalHost, port);
    if (!m_socket.waitForConnected(15000))
        return false;
    m_socket.write(request);
    return m_socket.waitForBytesWritten(15000);
}

bool IcyTestClient::ReadHeader(int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    QByteArray buffer;
    while (!buffer.contains("\r\n\r\n")) {
        if (deadline.hasExpired() || !m_socket.waitForReadyRead(int(deadline.remainingTime())))
            return false;
        buffer += m_socket.readAll();
    }
    const qsizetype end = buffer.indexOf("\r\n\r\n") + 4;
    header = buffer.left(end);
    const qsizetype key = header.indexOf("icy-metaint:");
    if (key >= 0)
        metaInt = header.mid(key + 12, header.indexOf("\r\n", key) - key - 12).trimmed().toInt();
    m_untilBlock = metaInt;
    Parse(buffer.mid(end));
    return true;
}

bool IcyTestClient::ReadSome(int timeoutMs)
{
    if (!m_socket.waitForReadyRead(timeoutMs))
        return false;
    Parse(m_socket.readAll());
    return true;
}

bool IcyTestClient::WaitForTitles(int count, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (titles.size() < count) {
        if (deadline.hasExpired() || !ReadSome(int(deadline.remainingTime())))
            return false;
    }
    return true;
}

bool IcyTestClient::WaitForAudio(qint64 bytes, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (audio.size() < bytes) {
        if (deadline.hasExpired() || !ReadSome(int(deadline.remainingTime())))
            return false;
    }
    return true;
}

void IcyTestClient::Parse(const QByteArray& data)
{
    for (qsizetype pos = 0; pos < data.size();) {
        if (metaInt == 0) {
            audio += data.mid(pos);
            return;
        }
        if (m_metaLeft < 0 && m_untilBlock > 0) {
            const qsizetype take = qMin<qsizetype>(m_untilBlock, data.size() - pos);
            audio += data.mid(pos, take);
            m_untilBlock -= take;
            pos += take;
            continue;
        }
        if (m_metaLeft < 0) {
            m_metaLeft = 16 * static_cast<unsigned char>(data[pos++]);
            m_meta.clear();
        }
        const qsizetype take = qMin<qsizetype>(m_metaLeft, data.size() - pos);
        m_meta += data.mid(pos, take);
        m_metaLeft -= int(take);
        pos += take;
        if (m_metaLeft > 0)
            continue;
        if (m_meta.isEmpty()) {
            ++emptyBlocks;
        } else {
            const QByteArray text = m_meta.left(m_meta.indexOf('\0'));
            badBlock = badBlock || !text.startsWith("StreamTitle='") || !text.endsWith("';");
            titles.append(text.mid(13, text.size() - 15));
            titleAt.append(audio.size());
        }
        m_metaLeft = -1;
        m_untilBlock = metaInt;
    }
}
