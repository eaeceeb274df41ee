// Splitting a stream address of the form "http://host:port/" into host and port, by the same
// text rules the channel directory's addresses were written for.
#pragma once

#include <string>

namespace recorder {

std::string GetPort(const std::string& address);
std::string GetHost(const std::string& address);

} // namespace recorder
