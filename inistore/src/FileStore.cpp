#include "FileStore.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <list>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

namespace quillet::detail {

namespace {

struct Stamp
{
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    timespec mtime{};

    bool operator==(const Stamp& o) const
    {
        return dev == o.dev && ino == o.ino && size == o.size && mtime.tv_sec == o.mtime.tv_sec &&
               mtime.tv_nsec == o.mtime.tv_nsec;
    }
};

Stamp StampOf(const struct stat& st)
{
    return {st.st_dev, st.st_ino, st.st_size, st.st_mtim};
}

long long Nanos(const timespec& t)
{
    return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

long long NowNanos()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return Nanos(now);
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
    timespec res{};
    long long tick = 10000000LL;
    if (clock_getres(CLOCK_REALTIME_COARSE, &res) == 0) {
        tick = std::max(tick, 2 * Nanos(res));
    }
    return tick;
}

// A parsed copy is trusted on its stamp alone only when it was read clearly after the file's
// last modification: a rewrite within the same tick could keep size, time and inode, so a copy
// read within a tick of the modification time is confirmed against the content on each use.
bool ReadWellAfter(long long readAt, const timespec& mtime)
{
    return readAt - Nanos(mtime) > TimestampTick(mtime);
}

bool ReadAll(int fd, std::string& out)
{
    out.clear();
    char chunk[65536];
    for (;;) {
        const ssize_t n = read(fd, chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (n == 0) {
            return true;
        }
        out.append(chunk, static_cast<size_t>(n));
    }
}

struct FileContent
{
    ReadStatus status = ReadStatus::Missing;
    Stamp stamp;
    std::string bytes;
};

FileContent ReadFile(const std::string& path, size_t sizeHint)
{
    FileContent result;
    // Non-blocking so that a FIFO put in the file's place cannot hang the caller.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        result.status =
            (errno == ENOENT || errno == ENOTDIR) ? ReadStatus::Missing : ReadStatus::Failed;
        return result;
    }
    struct stat st
    {
    };
    result.status = ReadStatus::Failed;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        result.bytes.reserve(std::max(sizeHint, static_cast<size_t>(st.st_size)));
        if (ReadAll(fd, result.bytes)) {
            result.status = ReadStatus::Ok;
            result.stamp = StampOf(st);
        }
    }
    close(fd);
    return result;
}

struct CacheEntry
{
    Stamp stamp;
    std::shared_ptr<const IniDocument> doc;
    bool trusted = false;
};

// A few recently read files. The program binds a handful of files in turn; more entries would
// only hold memory.
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
    std::list<std::string> order;
};

ParsedCache& Cache()
{
    static ParsedCache cache;
    return cache;
}

mode_t NewFileMode()
{
    // umask can only be read by setting it; put it straight back.
    const mode_t mask = umask(022);
    umask(mask);
    return 0666 & ~mask;
}

// The file a write must replace: a symbolic link is followed so that the link stays a link.
std::string WriteTarget(const std::string& path)
{
    struct stat st
    {
    };
    if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* real = realpath(path.c_str(), nullptr)) {
            std::string target(real);
            std::free(real);
            return target;
        }
    }
    return path;
}

bool WriteAll(int fd, std::string_view text)
{
    while (!text.empty()) {
        const ssize_t n = write(fd, text.data(), text.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        text.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

} // namespace

Snapshot ReadIni(const std::string& path)
{
    struct stat st
    {
    };
    if (stat(path.c_str(), &st) != 0) {
        Cache().Drop(path);
        return {(errno == ENOENT || errno == ENOTDIR) ? ReadStatus::Missing : ReadStatus::Failed,
                nullptr};
    }
    if (!S_ISREG(st.st_mode)) {
        return {ReadStatus::Failed, nullptr};
    }
    bool trusted = false;
    auto cached = Cache().Find(path, StampOf(st), trusted);
    if (cached && trusted) {
        return {ReadStatus::Ok, cached};
    }
    const long long readAt = NowNanos();
    FileContent file = ReadFile(path, static_cast<size_t>(st.st_size));
    if (file.status != ReadStatus::Ok) {
        Cache().Drop(path);
        return {file.status, nullptr};
    }
    const bool wellAfter = ReadWellAfter(readAt, file.stamp.mtime);
    if (cached && StampOf(st) == file.stamp && cached->Text() == file.bytes) {
        Cache().Put(path, {file.stamp, cached, wellAfter});
        return {ReadStatus::Ok, cached};
    }
    auto doc = std::make_shared<const IniDocument>(std::move(file.bytes));
    Cache().Put(path, {file.stamp, doc, wellAfter});
    return {ReadStatus::Ok, doc};
}

bool WriteIni(const std::string& path, std::string_view text)
{
    const std::string target = WriteTarget(path);
    struct stat old
    {
    };
    const bool exists = stat(target.c_str(), &old) == 0;
    if (exists &&
        (!S_ISREG(old.st_mode) || faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)) {
        return false;
    }
    const size_t slash = target.rfind('/');
    const std::string folder =
        slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    std::string temp = folder + "." + base + ".XXXXXX";
    const int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const mode_t mode = exists ? (old.st_mode & 07777) : NewFileMode();
    bool ok = WriteAll(fd, text);
    if (ok && exists && (old.st_uid != geteuid() || old.st_gid != getegid())) {
        // Only root may give the file back to its owner; anyone else ends up owning the new
        // file, which still carries the old permissions, so a failure here is not fatal.
        (void)!fchown(fd, old.st_uid, old.st_gid);
    }
    ok = ok && fchmod(fd, mode) == 0 && fdatasync(fd) == 0;
    ok = (close(fd) == 0) && ok;
    ok = ok && rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        unlink(temp.c_str());
        return false;
    }
    Cache().Drop(path);
    Cache().Drop(target);
    return true;
}

long long FileLength(const std::string& path)
{
    struct stat st
    {
    };
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return -1;
    }
    return static_cast<long long>(st.st_size);
}

} // namespace quillet::detail
