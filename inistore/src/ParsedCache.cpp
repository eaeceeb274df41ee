#include "ParsedCache.h"

#include <algorithm>
#include <list>
#include <mutex>
#include <unordered_map>

namespace quillet::detail {

namespace {

long long Nanos(const timespec& t)
{
    return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

// How far apart two writes must be for the second to get a different modification time.
// File systems with nanosecond fields still take the time from the kernel's coarse clock, which
// moves once per scheduler tick; a time of whole seconds means a file system that keeps seconds
// (FAT keeps two).
long long TimestampTick(const timespec& mtime)
{
    if (mtime.tv_nsec == 0) {
        return 2000000000LL;
    }
    long long tick = 10000000LL;
    timespec res{};
    if (clock_getres(CLOCK_REALTIME_COARSE, &res) == 0) {
        tick = std::max(tick, 2 * Nanos(res));
    }
    return tick;
}

// The program binds a handful of files in turn; more entries would only hold memory.
class ParsedCache
{
  public:
    static constexpr size_t kMaxEntries = 8;

    std::shared_ptr<const IniDocument> Find(const std::string& path, const Stamp& stamp,
                                            bool& trusted)
    {
        std::lock_guard lock(mutex);
        const auto it = entries.find(path);
        if (it == entries.end() || !(it->second.stamp == stamp)) {
            return nullptr;
        }
        trusted = it->second.trusted;
        return it->second.doc;
    }

    void Put(const std::string& path, CacheEntry entry)
    {
        std::lock_guard lock(mutex);
        if (entries.find(path) == entries.end()) {
            order.push_back(path);
            if (order.size() > kMaxEntries) {
                entries.erase(order.front());
                order.pop_front();
            }
        }
        entries[path] = std::move(entry);
    }

    void Drop(const std::string& path)
    {
        std::lock_guard lock(mutex);
        if (entries.erase(path) != 0) {
            order.remove(path);
        }
    }

  private:
    std::mutex mutex;
    std::unordered_map<std::string, CacheEntry> entries;
    std::list<std::string> order; // oldest first
};

ParsedCache& Cache()
{
    static ParsedCache cache;
    return cache;
}

} // namespace

bool Stamp::operator==(const Stamp& o) const
{
    return dev == o.dev && ino == o.ino && size == o.size && mtime.tv_sec == o.mtime.tv_sec &&
           mtime.tv_nsec == o.mtime.tv_nsec && ctime.tv_sec == o.ctime.tv_sec &&
           ctime.tv_nsec == o.ctime.tv_nsec;
}

Stamp StampOf(const StatBuf& st)
{
    return {st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
}

long long NowNanos()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return Nanos(now);
}

bool ReadWellAfter(long long readAt, const Stamp& stamp)
{
    // The later of the two times: a modification time may have been set into the past or the
    // future, the change time is the file system's own.
    const timespec& last = Nanos(stamp.mtime) > Nanos(stamp.ctime) ? stamp.mtime : stamp.ctime;
    return readAt - Nanos(last) > TimestampTick(last);
}

std::shared_ptr<const IniDocument> FindParsed(const std::string& path, const Stamp& stamp,
                                              bool& trusted)
{
    return Cache().Find(path, stamp, trusted);
}

void KeepParsed(const std::string& path, CacheEntry entry)
{
    Cache().Put(path, std::move(entry));
}

void DropParsed(const std::string& path)
{
    Cache().Drop(path);
}

} // namespace quillet::detail
