// corvane-record end to end: a fast ICY server on 127.0.0.1 sends 512 MiB of audio (metaint
// 8192, a title every 64 blocks) without pacing; the program records it to one file. The time
// runs from starting the program to its exit at the end of the stream, and the file must be
// byte-identical to the audio sent, to the last byte.
#include "../../tests/recorder/IcyStream.h"

#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

constexpr int kMetaInt = 8192;
constexpr int kBlocksPerPeriod = 64;
constexpr std::size_t kAudioTotal = 512u * 1024 * 1024;

struct Period
{
    std::string bytes; // 64 intervals with their blocks; the last block carries the title
    std::string audio;
    std::size_t digitsAt = 0;
};

const Period& ThePeriod()
{
    static const Period period = [] {
        Period p;
        auto stream = icytest::BuildStream(kMetaInt, kBlocksPerPeriod, 0, [](int i) {
            return i == kBlocksPerPeriod - 1 ? std::string("StreamTitle='Song 000000';")
                                             : std::string();
        });
        p.bytes = std::move(stream.bytes);
        p.audio = std::move(stream.audio);
        p.digitsAt = p.bytes.find("000000");
        return p;
    }();
    return period;
}

bool SendAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const auto sent = ::send(fd, data, size, MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        data += sent;
        size -= static_cast<std::size_t>(sent);
    }
    return true;
}

// One client: read its request, answer with the header, then the stream as fast as it goes.
void Serve(int listener)
{
    const int fd = ::accept(listener, nullptr, nullptr);
    if (fd < 0)
        return;
    std::string request;
    char buf[1024];
    while (request.find("\r\n\r\n") == std::string::npos) {
        const auto got = ::recv(fd, buf, sizeof buf, 0);
        if (got <= 0)
            break;
        request.append(buf, static_cast<std::size_t>(got));
    }
    std::string period = ThePeriod().bytes;
    const std::string header = icytest::Header(kMetaInt, "icy-name:Bench\r\nicy-br:320\r\n");
    bool ok = SendAll(fd, header.data(), header.size());
    for (std::size_t n = 0; ok && n < kAudioTotal / ThePeriod().audio.size(); ++n) {
        char digits[8];
        std::snprintf(digits, sizeof digits, "%06zu", n % 1000000);
        std::memcpy(period.data() + ThePeriod().digitsAt, digits, 6);
        ok = SendAll(fd, period.data(), period.size());
    }
    ::close(fd);
}

bool Identical(const std::string& path)
{
    const auto& audio = ThePeriod().audio;
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0)
        return false;
    std::string chunk(audio.size(), '\0');
    std::size_t total = 0;
    bool same = true;
    for (;;) {
        std::size_t have = 0;
        while (have < chunk.size()) {
            const auto got = ::read(fd, chunk.data() + have, chunk.size() - have);
            if (got <= 0)
                break;
            have += static_cast<std::size_t>(got);
        }
        if (have == 0)
            break;
        same = same && have == audio.size() && std::memcmp(chunk.data(), audio.data(), have) == 0;
        total += have;
    }
    ::close(fd);
    return same && total == kAudioTotal;
}

void BM_RecordEndToEnd(benchmark::State& state)
{
    // CORVANE_BENCH_DIR picks the file system written to (/dev/shm measures the program rather
    // than the disk).
    const char* base = std::getenv("CORVANE_BENCH_DIR");
    std::string dirTemplate = std::string(base ? base : "/tmp") + "/corvane-record-bench-XXXXXX";
    const std::string dir = ::mkdtemp(dirTemplate.data());
    const std::string file = dir + "/bench.mp3";
    ThePeriod();
    double recordCpu = 0;
    for (auto _ : state) {
        const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        ::bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        ::listen(listener, 1);
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &len);
        std::thread server(Serve, listener);

        const std::string url = "http://127.0.0.1:" + std::to_string(ntohs(addr.sin_port)) + "/";
        const char* argv[] = {CORVANE_RECORD, url.c_str(), "--dir", dir.c_str(),
                              "--name",       "bench.mp3", nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        const auto start = std::chrono::steady_clock::now();
        pid_t pid = 0;
        int status = -1;
        rusage usage{};
        if (posix_spawn(&pid, CORVANE_RECORD, &actions, nullptr, const_cast<char**>(argv),
                        environ) == 0)
            ::wait4(pid, &status, 0, &usage);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        posix_spawn_file_actions_destroy(&actions);
        server.join();
        ::close(listener);
        state.SetIterationTime(took.count());
        // On a shared machine the wall time depends on the neighbours; the program's own CPU
        // time says what it costs.
        recordCpu += usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
                     (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;

        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("corvane-record failed");
            break;
        }
        if (!Identical(file)) {
            state.SkipWithError("recording differs from the audio sent");
            break;
        }
        ::unlink(file.c_str());
    }
    ::unlink(file.c_str());
    ::rmdir(dir.c_str());
    state.SetBytesProcessed(static_cast<std::int64_t>(kAudioTotal) * state.iterations());
    state.counters["record_cpu_s"] = benchmark::Counter(recordCpu / double(state.iterations()));
    state.counters["MB/cpu_s"] =
        benchmark::Counter(double(kAudioTotal) * double(state.iterations()) / recordCpu / 1e6);
}

} // namespace

BENCHMARK(BM_RecordEndToEnd)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
