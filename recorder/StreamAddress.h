// Where a stream is: the plain "http://host:port/" addresses the channel lists were written with,
// and the ones today's stations give (a mount path, no port, https, a redirect's Location).
#pragma once

#include <QString>
#include <QUrl>

namespace recorder {

struct StreamAddress
{
    bool secure = false;
    QString host;
    quint16 port = 0;
    QString path = QStringLiteral("/"); // what the request names, query included

    bool Valid() const { return !host.isEmpty() && port != 0; }
    QUrl Url() const;
};

// "http://host:port/" is split as the channel lists always were (core::GetHost/GetPort), so those
// addresses reach the same host and port as before; anything else is read as a URL with the
// scheme http or https. Invalid (empty host) when it is neither.
StreamAddress ParseStreamAddress(const QString& text);

// A redirect's Location or a playlist's entry, which may be relative to the address it came from.
StreamAddress ResolveAddress(const StreamAddress& base, const QString& reference);

} // namespace recorder
