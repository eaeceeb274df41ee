#pragma once

// Parsed copies of recently read files, each with the stamp the file had when it was read. A copy
// is only ever handed out for a file that still has that stamp; whether the stamp alone is proof
// enough is the entry's "trusted" flag (see ReadWellAfter).

#include "IniText.h"

#include <ctime>
#include <memory>
#include <string>
#include <sys/stat.h>

namespace quillet::detail {

struct Stamp
{
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    timespec mtime{};

    bool operator==(const Stamp& o) const;
};

using StatBuf = struct stat;

Stamp StampOf(const StatBuf& st);

long long NowNanos();

// True when a copy read at readAt (taken before the read began) can be trusted on the file's
// stamp alone. A rewrite within one timestamp tick may keep size, time and inode, so a copy read
// within a tick of the file's modification time must be confirmed against the content.
bool ReadWellAfter(long long readAt, const timespec& mtime);

struct CacheEntry
{
    Stamp stamp;
    std::shared_ptr<const IniDocument> doc;
    bool trusted = false;
};

// The copy of path with exactly this stamp, or null; trusted tells whether it needs confirming.
std::shared_ptr<const IniDocument> FindParsed(const std::string& path, const Stamp& stamp,
                                              bool& trusted);
void KeepParsed(const std::string& path, CacheEntry entry);
void DropParsed(const std::string& path);

} // namespace quillet::detail
