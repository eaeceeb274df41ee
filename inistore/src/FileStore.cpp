#include "FileStore.h"

#include "ParsedCache.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace quillet::detail {

namespace {

struct FileContent
{
    ReadStatus status = ReadStatus::Missing;
    Stamp stamp;
    std::string bytes;
};

bool ReadAll(int fd, std::string& out, size_t sizeHint)
{
    out.resize(sizeHint + 1);
    size_t have = 0;
    for (;;) {
        if (have == out.size()) {
            out.resize(out.size() * 2);
        }
        const ssize_t n = read(fd, out.data() + have, out.size() - have);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            out.resize(have);
            return n == 0;
        }
        have += static_cast<size_t>(n);
    }
}

FileContent ReadFile(const std::string& path)
{
    FileContent result;
    // Non-blocking so that a FIFO put in the file's place cannot hang the caller.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        result.status =
            (errno == ENOENT || errno == ENOTDIR) ? ReadStatus::Missing : ReadStatus::Failed;
        return result;
    }
    StatBuf st{};
    result.status = ReadStatus::Failed;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
        ReadAll(fd, result.bytes, static_cast<size_t>(st.st_size))) {
        result.status = ReadStatus::Ok;
        result.stamp = StampOf(st);
    }
    close(fd);
    return result;
}

// The file a write must replace: a symbolic link is followed so that the link stays a link.
std::string WriteTarget(const std::string& path)
{
    StatBuf st{};
    if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* real = realpath(path.c_str(), nullptr)) {
            std::string target(real);
            std::free(real);
            return target;
        }
    }
    return path;
}

// A new hidden file beside target. Created with 0666 so that the kernel applies the umask, as
// it would to the file itself; an existing file's mode is copied over it later.
int CreateTemp(const std::string& target, std::string& name)
{
    static std::atomic<unsigned> counter{0};
    const size_t slash = target.rfind('/');
    const size_t baseAt = slash == std::string::npos ? 0 : slash + 1;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[48];
        std::snprintf(suffix, sizeof suffix, ".%d.%u.%llx", static_cast<int>(getpid()), counter++,
                      static_cast<unsigned long long>(NowNanos()) & 0xffffff);
        name = target.substr(0, baseAt) + "." + target.substr(baseAt) + suffix;
        const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

bool WriteAll(int fd, std::string_view text)
{
    while (!text.empty()) {
        const ssize_t n = write(fd, text.data(), text.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        text.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

} // namespace

Snapshot ReadIni(const std::string& path)
{
    StatBuf st{};
    if (stat(path.c_str(), &st) != 0) {
        DropParsed(path);
        return {(errno == ENOENT || errno == ENOTDIR) ? ReadStatus::Missing : ReadStatus::Failed,
                nullptr};
    }
    if (!S_ISREG(st.st_mode)) {
        return {ReadStatus::Failed, nullptr};
    }
    bool trusted = false;
    auto cached = FindParsed(path, StampOf(st), trusted);
    if (cached && trusted) {
        return {ReadStatus::Ok, cached};
    }
    const long long readAt = NowNanos();
    FileContent file = ReadFile(path);
    if (file.status != ReadStatus::Ok) {
        DropParsed(path);
        return {file.status, nullptr};
    }
    const bool wellAfter = ReadWellAfter(readAt, file.stamp);
    if (cached && StampOf(st) == file.stamp && cached->Text() == file.bytes) {
        KeepParsed(path, {file.stamp, cached, wellAfter});
        return {ReadStatus::Ok, cached};
    }
    auto doc = std::make_shared<const IniDocument>(std::move(file.bytes));
    KeepParsed(path, {file.stamp, doc, wellAfter});
    return {ReadStatus::Ok, doc};
}

bool WriteIni(const std::string& path, std::string_view text)
{
    const std::string target = WriteTarget(path);
    StatBuf old{};
    const bool exists = stat(target.c_str(), &old) == 0;
    // A read-only file stays unwritten, as an in-place write would have failed on it.
    if (exists &&
        (!S_ISREG(old.st_mode) || faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)) {
        return false;
    }
    std::string temp;
    const int fd = CreateTemp(target, temp);
    if (fd < 0) {
        return false;
    }
    bool ok = WriteAll(fd, text);
    if (ok && exists && (old.st_uid != geteuid() || old.st_gid != getegid())) {
        // Only root may give the file back to its owner; anyone else ends up owning the new
        // file, which still carries the old permissions, so a failure here is not fatal.
        (void)!fchown(fd, old.st_uid, old.st_gid);
    }
    ok = ok && (!exists || fchmod(fd, old.st_mode & 07777) == 0);
    // On disk before the rename, so that a crash leaves the old file or the new one, whole.
    ok = ok && fdatasync(fd) == 0;
    ok = (close(fd) == 0) && ok;
    ok = ok && rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        unlink(temp.c_str());
        return false;
    }
    DropParsed(path);
    DropParsed(target);
    return true;
}

long long FileLength(const std::string& path)
{
    StatBuf st{};
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return -1;
    }
    return static_cast<long long>(st.st_size);
}

} // namespace quillet::detail
