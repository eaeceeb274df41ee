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

// What a file's status tells of its content. The change time is in as well: no program can
// set it, so a tool that restores the modification time after rewriting a file in place is
// still seen.
struct Stamp
{
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    timespec mtime{};
    timespec ctime{};

    bool operator==(const Stamp& o) const;
};

using StatBuf = struct stat;

Stamp StampOf(const StatBuf& st);

long long NowNanos();

// True when a copy read at readAt (taken before the read began) can be trusted on the file's
// stamp alone. A rewrite within one timestamp tick may keep size, times and inode, so a copy read
// within a tick of the file's last change must be confirmed against the content.
bool ReadWellAfter(long long readAt, const Stamp& stamp);

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
