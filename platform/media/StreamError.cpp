#include "StreamError.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QUrl>

namespace platform {

namespace {

constexpr int LongestLine = 90;

// host:port as the address names the server; the scheme's port when it names none.
QString Server(const QUrl& url)
{
    const int port = url.port(url.scheme() == QLatin1String("https") ? 443 : 80);
    return QStringLiteral("%1:%2").arg(url.host()).arg(port);
}

bool Says(const QString& text, const char* words)
{
    return text.contains(QLatin1String(words), Qt::CaseInsensitive);
}

} // namespace

QString ShortStreamError(const QString& engineText, const QString& url)
{
    const QUrl address(url);
    if (!address.host().isEmpty()) {
        const QString server = Server(address);
        if (Says(engineText, "refused")) {
            return QCoreApplication::translate("platform::StreamError",
                                               "Cannot connect to %1 (refused)")
                .arg(server);
        }
        // Not "timeout": the engine names its connections "tcp://host:port?timeout=…".
        if (Says(engineText, "timed out")) {
            return QCoreApplication::translate("platform::StreamError",
                                               "Cannot connect to %1 (no answer)")
                .arg(server);
        }
        if (Says(engineText, "resolve") || Says(engineText, "not known") ||
            Says(engineText, "name resolution")) {
            return QCoreApplication::translate("platform::StreamError", "Cannot find %1")
                .arg(address.host());
        }
        static const QRegularExpression httpError(QStringLiteral("HTTP error (\\d{3}[^\\r\\n]*)"));
        const QRegularExpressionMatch status = httpError.match(engineText);
        if (status.hasMatch()) {
            return QCoreApplication::translate("platform::StreamError", "%1 answered %2")
                .arg(server, status.captured(1).trimmed());
        }
    }
    QString line = engineText.section(QLatin1Char('\n'), 0, 0).simplified();
    if (line.isEmpty()) {
        return QCoreApplication::translate("platform::StreamError", "The stream cannot be played");
    }
    if (line.size() > LongestLine) {
        line = line.left(LongestLine - 1) + QChar(0x2026);
    }
    return line;
}

} // namespace platform
