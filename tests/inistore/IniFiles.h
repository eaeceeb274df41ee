#pragma once

// Real files in a private temporary folder for the INI store's tests.

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace inifiles {

using StatBuf = struct stat;

class TempDir
{
  public:
    TempDir()
    {
        if (mkdtemp(dir.data()) == nullptr) {
            throw std::runtime_error("mkdtemp failed");
        }
        // Tests that drop privileges must be able to reach the folder.
        chmod(dir.c_str(), 0755);
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }

    std::string Path() const { return dir; }
    std::string File(const std::string& name) const { return dir + "/" + name; }

  private:
    std::string dir = (std::filesystem::temp_directory_path() / "quillet-XXXXXX").string();
};

// Entries in a folder, so tests can see that no temporary file was left.
inline long FileCount(const std::string& folder)
{
    using It = std::filesystem::directory_iterator;
    return std::distance(It(folder), It());
}

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline StatBuf StatOf(const std::string& path)
{
    StatBuf st{};
    stat(path.c_str(), &st);
    return st;
}

// Exit code of RunUnprivileged when root's power could not be dropped.
constexpr int kCannotDropRoot = 99;

// Runs body in a child process without root's power to ignore permissions, and returns its exit
// code: permission tests mean nothing to root, which CI runs as.
inline int RunUnprivileged(const std::function<int()>& body)
{
    const pid_t pid = fork();
    if (pid == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
            _exit(kCannotDropRoot);
        }
        _exit(body());
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 98;
}

} // namespace inifiles
