#include "HttpRequest.h"

#include <QByteArrayList>
#include <QUrl>

QByteArray RequestHead::header(const QByteArray& lowerName) const
{
    for (const auto& [name, value] : headers) {
        if (name == lowerName)
            return value;
    }
    return {};
}

HeadState ParseRequestHead(const QByteArray& buffer, RequestHead& out)
{
    // Some hand-typed clients (nc, telnet) end lines with a bare LF; accept both.
    qsizetype end = buffer.indexOf("\r\n\r\n");
    if (end < 0)
        end = buffer.indexOf("\n\n");
    if (end < 0)
        return buffer.size() > MaxRequestHead ? HeadState::Bad : HeadState::Incomplete;
    if (end > MaxRequestHead)
        return HeadState::Bad;

    QByteArrayList lines = buffer.left(end).split('\n');
    for (QByteArray& line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    const QByteArrayList request = lines.takeFirst().simplified().split(' ');
    if (request.size() < 2 || request.size() > 3 || request[1].isEmpty())
        return HeadState::Bad;
    out = RequestHead{};
    out.method = request[0];
    out.target = request[1];
    out.version = request.size() == 3 ? request[2] : QByteArray("HTTP/0.9");
    for (const QByteArray& line : lines) {
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0)
            return HeadState::Bad;
        out.headers.append({line.left(colon).trimmed().toLower(), line.mid(colon + 1).trimmed()});
    }
    return HeadState::Complete;
}

QString LocalPathOf(const QByteArray& target, bool& ok)
{
    ok = false;
    QByteArray path = target;
    // Absolute-form targets ("http://host/path") come from clients that think we are a proxy.
    if (path.startsWith("http://")) {
        const qsizetype slash = path.indexOf('/', 7);
        path = slash < 0 ? QByteArray("/") : path.mid(slash);
    }
    if (!path.startsWith('/'))
        return {};
    const qsizetype query = path.indexOf('?');
    if (query >= 0)
        path.truncate(query);
    const QByteArray decoded = QByteArray::fromPercentEncoding(path);
    if (decoded.contains('\0') || decoded.contains('\\'))
        return {};

    QStringList kept;
    for (const QByteArray& segment : decoded.split('/')) {
        if (segment.isEmpty())
            continue;
        if (segment == "." || segment == "..")
            return {};
        kept.append(QString::fromUtf8(segment));
    }
    ok = true;
    if (kept.isEmpty() || decoded.endsWith('/'))
        kept.append(QStringLiteral("index.html"));
    return kept.join(QLatin1Char('/'));
}

bool WantsIcyMetadata(const RequestHead& head)
{
    bool isNumber = false;
    const int value = head.header("icy-metadata").toInt(&isNumber);
    return isNumber && value != 0;
}
