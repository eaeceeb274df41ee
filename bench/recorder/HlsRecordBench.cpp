// corvane-record beside ffmpeg on the same finished HLS playlist: one hour of AAC at 128 kbps in
// 1800 MPEG-TS segments of 2 s (made once by ffmpeg), served over loopback by python3's
// http.server in a process of its own. Each run is timed from start to exit; record_cpu_s is the
// recorder's own CPU time (user + system), what the recording costs whatever the neighbours do.
// ffmpeg's run is "ffmpeg -i URL -c copy out.aac": the same work, taking the audio out unchanged.
#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdlib>
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
#include <vector>

extern char** environ;

namespace {

struct Run
{
    int status = -1;
    double wall = 0, cpu = 0;
};

Run Spawn(std::vector<std::string> arguments, bool wait = true, pid_t* started = nullptr)
{
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    Run run;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    rusage usage{};
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        if (started)
            *started = pid;
        if (wait)
            ::wait4(pid, &run.status, 0, &usage);
    }
    posix_spawn_file_actions_destroy(&actions);
    run.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.cpu = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
              double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    return run;
}

bool Exited0(const Run& run)
{
    return WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0;
}

int FreePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    ::close(fd);
    return ntohs(addr.sin_port);
}

bool Answers(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<std::uint16_t>(port));
    const bool up = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    ::close(fd);
    return up;
}

// The playlist and its server, made once for both runs.
struct Station
{
    std::string dir, url, error;
    pid_t server = 0;

    Station()
    {
        const char* base = std::getenv("CORVANE_BENCH_DIR");
        std::string dirTemplate = std::string(base ? base : "/tmp") + "/corvane-hls-bench-XXXXXX";
        dir = ::mkdtemp(dirTemplate.data());
        ::mkdir((dir + "/www").c_str(), 0700);
        const Run made = Spawn({"ffmpeg", "-v", "error", "-f", "lavfi", "-i", "sine=f=440:d=3600",
                                "-c:a", "aac", "-b:a", "128k", "-f", "hls", "-hls_time", "2",
                                "-hls_list_size", "0", "-hls_playlist_type", "vod",
                                "-hls_segment_filename", dir + "/www/s%04d.ts",
                                dir + "/www/hour.m3u8"});
        if (!Exited0(made)) {
            error = "ffmpeg could not make the playlist";
            return;
        }
        const int port = FreePort();
        Spawn({"python3", "-m", "http.server", std::to_string(port), "--bind", "127.0.0.1",
               "--directory", dir + "/www"},
              false, &server);
        for (int i = 0; i < 300 && !Answers(port); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (!Answers(port))
            error = "python3 -m http.server did not start";
        url = "http://127.0.0.1:" + std::to_string(port) + "/hour.m3u8";
    }
    ~Station()
    {
        if (server > 0) {
            ::kill(server, SIGTERM);
            ::waitpid(server, nullptr, 0);
        }
        std::system(("rm -rf '" + dir + "'").c_str());
    }
};

Station& TheStation()
{
    static Station station;
    return station;
}

off_t SizeOf(const std::string& path)
{
    struct stat st{};
    return ::stat(path.c_str(), &st) == 0 ? st.st_size : -1;
}

void BM_HlsHour(benchmark::State& state)
{
    Station& station = TheStation();
    if (!station.error.empty()) {
        state.SkipWithError(station.error.c_str());
        return;
    }
    const bool ffmpeg = state.range(0) == 1;
    const std::string out = station.dir + (ffmpeg ? "/ffmpeg.aac" : "/record.aac");
    double cpu = 0;
    for (auto _ : state) {
        ::unlink(out.c_str());
        const Run run =
            ffmpeg ? Spawn({"ffmpeg", "-v", "error", "-i", station.url, "-c", "copy", out})
                   : Spawn({CORVANE_RECORD, station.url, "--dir", station.dir, "--name",
                            "record.mp3"});
        state.SetIterationTime(run.wall);
        cpu += run.cpu;
        if (!Exited0(run) || SizeOf(out) <= 0) {
            state.SkipWithError("the recording failed");
            break;
        }
    }
    state.counters["record_cpu_s"] = benchmark::Counter(cpu / double(state.iterations()));
    state.counters["file_MB"] = benchmark::Counter(double(SizeOf(out)) / 1e6);
}

} // namespace

// Arg: 0 corvane-record, 1 ffmpeg -c copy.
BENCHMARK(BM_HlsHour)
    ->ArgName("ffmpeg")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(2)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
