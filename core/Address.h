// Splitting a stream address of the form "http://host:port/" into host and port, by the same plain
// text rules the channel directory's addresses were written for. The recorder window, the
// command-line recorder and the player share this one copy.
#pragma once

#include <QString>
#include <QUrl>

namespace core {

// An address without a port gives the host from GetPort; a path after the port stays attached
// with its slashes removed ("8000stream"). Only the port's own place is taken out of the host, so
// a host that contains the port's digits ("10.0.0.1" with port 1) stays whole.
QString GetPort(const QString& Address);
QString GetHost(const QString& Address);

// An operator's address as a web page to show or to hand to the desktop: only http and https (one
// written without a scheme, "example.com/offer", reads as http). Anything else (file:, a local
// path, javascript:, a program's own scheme) gives an empty address: the operator's files must
// not make the desktop open local files or programs.
QUrl WebAddress(const QString& Address);

} // namespace core
