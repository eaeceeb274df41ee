#include "StreamAddress.h"

#include "Address.h"

namespace recorder {
namespace {

StreamAddress FromUrl(const QUrl& url)
{
    StreamAddress address;
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return address;
    address.secure = scheme == QLatin1String("https");
    const int port = url.port(address.secure ? 443 : 80);
    if (port <= 0 || port > 65535)
        return address;
    address.host = url.host(QUrl::FullyEncoded);
    address.port = static_cast<quint16>(port);
    address.path = url.path(QUrl::FullyEncoded);
    if (address.path.isEmpty())
        address.path = QStringLiteral("/");
    if (url.hasQuery())
        address.path += QLatin1Char('?') + url.query(QUrl::FullyEncoded);
    return address;
}

} // namespace

QUrl StreamAddress::Url() const
{
    QUrl url;
    url.setScheme(secure ? QStringLiteral("https") : QStringLiteral("http"));
    url.setHost(host);
    url.setPort(port);
    return url.resolved(QUrl(path));
}

StreamAddress ParseStreamAddress(const QString& text)
{
    if (!text.trimmed().startsWith(QLatin1String("https://"), Qt::CaseInsensitive)) {
        const QString host = core::GetHost(text);
        bool numeric = false;
        const uint port = core::GetPort(text).toUInt(&numeric);
        if (!host.isEmpty() && numeric && port > 0 && port <= 65535)
            return {false, host, static_cast<quint16>(port), QStringLiteral("/")};
    }
    return FromUrl(QUrl(text.trimmed(), QUrl::StrictMode));
}

StreamAddress ResolveAddress(const StreamAddress& base, const QString& reference)
{
    return FromUrl(base.Url().resolved(QUrl(reference.trimmed())));
}

} // namespace recorder
