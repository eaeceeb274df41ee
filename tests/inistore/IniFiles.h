#pragma once

// Real files in a private temporary folder for the INI store's tests.

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace inifiles {

class TempDir
{
  public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "quillet-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("mkdtemp failed");
        }
        dir = pattern;
        // Tests that drop privileges must be able to reach the folder.
        chmod(dir.c_str(), 0755);
    }
    ~TempDir()
    {
        std::error_code ec;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dir, ec)) {
            if (entry.is_directory() && !entry.is_symlink()) {
                chmod(entry.path().c_str(), 0755);
            }
        }
        chmod(dir.c_str(), 0755);
        std::filesystem::remove_all(dir, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string Path() const { return dir.string(); }
    std::string File(const std::string& name) const { return (dir / name).string(); }
    // Names of everything in the folder, so tests can see that no temporary file was left.
    std::string Listing() const
    {
        std::string names;
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            names += entry.path().filename().string() + "\n";
        }
        return names;
    }

  private:
    std::filesystem::path dir;
};

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

inline bool Exists(const std::string& path)
{
    return std::filesystem::exists(path);
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
