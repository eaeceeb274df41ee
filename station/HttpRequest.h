#pragma once
// Request heads as browsers, the player's HTTP fetches, libmpv and ICY clients send them.
// Pure bytes in, result out.
#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// A head larger than this is refused: nobody we serve sends more, and it bounds what a
// connection can make us buffer before it has said what it wants.
constexpr int MaxRequestHead = 8192;

struct RequestHead
{
    QByteArray method;
    QByteArray target;
    QByteArray version;
    QList<QPair<QByteArray, QByteArray>> headers; // names in lower case, values trimmed

    QByteArray header(const QByteArray& lowerName) const;
};

enum class HeadState { Incomplete, Complete, Bad };

// Parses the head at the start of buffer once its blank line has arrived.
HeadState ParseRequestHead(const QByteArray& buffer, RequestHead& out);

// The file a request target names, relative to the served folder ("Settings/Channel.ini").
// Doubled slashes are accepted (a base address ending in "/" produces them); "." and ".."
// segments and NUL bytes are refused (empty result), so nothing outside the folder is reachable.
// "/" maps to "index.html".
QString LocalPathOf(const QByteArray& target, bool& ok);

// True when the client asked for in-band titles ("Icy-MetaData: 1").
bool WantsIcyMetadata(const RequestHead& head);
