#include "Address.h"

namespace core {
namespace {

// Removes every non-overlapping occurrence, left to right; an empty pattern removes nothing.
std::string RemoveAll(const std::string& text, const std::string& pattern)
{
    if (pattern.empty())
        return text;
    std::string out;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(pattern, from)) != std::string::npos;
         from = at + pattern.size())
        out.append(text, from, at - from);
    out.append(text, from);
    return out;
}

std::string TrimBlanks(const std::string& text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string PortOf(const std::string& address)
{
    const auto colon = address.rfind(':');
    const std::string t =
        colon == std::string::npos ? std::string() : TrimBlanks(address.substr(0, colon + 1));
    return RemoveAll(RemoveAll(address, t), "/");
}

std::string HostOf(const std::string& address)
{
    // Only the port's own occurrence goes: the same digits inside the host ("10.0.0.1" with port
    // 1, "radio8000.example" with port 8000) are part of the host.
    std::string t = address;
    const auto port = PortOf(address);
    if (const auto at = port.empty() ? std::string::npos : t.rfind(port); at != std::string::npos)
        t.erase(at, port.size());
    for (const char* piece : {"http://", ":", "/"})
        t = RemoveAll(t, piece);
    return t;
}

} // namespace

QString GetPort(const QString& Address)
{
    return QString::fromStdString(PortOf(Address.toStdString()));
}

QString GetHost(const QString& Address)
{
    return QString::fromStdString(HostOf(Address.toStdString()));
}

QUrl WebAddress(const QString& Address)
{
    const QString text = Address.trimmed();
    if (text.isEmpty())
        return {};
    const QUrl url = QUrl::fromUserInput(text);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return {};
    return url;
}

} // namespace core
