#pragma once
// The engine's account of a failure in one short line a listener understands, naming the server
// the way the address does ("Cannot connect to 127.0.0.1:9 (refused)").
#include <QString>

namespace platform {

QString ShortStreamError(const QString& engineText, const QString& url);

} // namespace platform
