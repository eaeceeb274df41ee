#include "IcyTestClient.h"

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QRegularExpression>

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
    metaInt = QRegularExpression("icy-metaint: *(\\d+)").match(header).captured(1).toInt();
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

bool IcyTestClient::ReadUntil(const std::function<bool()>& done, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired() || !ReadSome(int(deadline.remainingTime())))
            return false;
    }
    return true;
}

void IcyTestClient::Parse(const QByteArray& data)
{
    m_pending += data;
    for (;;) {
        if (metaInt == 0 || m_untilBlock > 0) {
            const qsizetype take =
                metaInt == 0 ? m_pending.size() : qMin(m_untilBlock, m_pending.size());
            audio += m_pending.left(take);
            m_pending.remove(0, take);
            m_untilBlock -= take;
            if (m_pending.isEmpty())
                return;
        }
        const qsizetype length = 16 * static_cast<unsigned char>(m_pending[0]);
        if (m_pending.size() <= length)
            return;
        const QByteArray block = m_pending.mid(1, length);
        const QByteArray text = block.left(block.indexOf('\0'));
        m_pending.remove(0, 1 + length);
        m_untilBlock = metaInt;
        if (length == 0) {
            ++emptyBlocks;
        } else {
            badBlock = badBlock || !text.startsWith("StreamTitle='") || !text.endsWith("';");
            titles.append(text.mid(13, text.size() - 15));
            titleAt.append(audio.size());
        }
    }
}
