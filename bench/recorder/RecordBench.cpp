// corvane-record end to end: a fast server on 127.0.0.1 sends 512 MiB of audio (metaint 8192, a
// title every 64 blocks) without pacing; the program records it to one file. The time runs from
// starting the program to its exit at the end of the stream, and the file must be byte-identical
// to the audio sent, to the last byte. Three answers: plain ICY, Icecast's HTTP/1.1 with chunked
// coding (16 KiB chunks), and HTTP/1.1 over TLS (the server's own cost is on other cores).
// record_cpu_s of the TLS run against the plain one is what decryption costs the recorder's core.
#include "../../tests/recorder/IcyStream.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
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

enum Mode { kPlainIcy, kChunked, kTls };

// Where the server writes: the socket itself or a TLS session over it.
struct Link
{
    int fd = -1;
    SSL* tls = nullptr;
};

bool SendAll(const Link& link, const char* data, std::size_t size)
{
    if (link.tls) {
        while (size > 0) {
            const int sent =
                SSL_write(link.tls, data, static_cast<int>(std::min<std::size_t>(size, 1 << 30)));
            if (sent <= 0)
                return false;
            data += sent;
            size -= static_cast<std::size_t>(sent);
        }
        return true;
    }
    const int fd = link.fd;
    while (size > 0) {
        const auto sent = ::send(fd, data, size, MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        data += sent;
        size -= static_cast<std::size_t>(sent);
    }
    return true;
}

// The period in chunked coding, 16 KiB a chunk, with where its title digits went.
std::string Chunked(const std::string& bytes, std::size_t& digitsAt)
{
    constexpr std::size_t kChunk = 16 * 1024;
    std::string out;
    for (std::size_t at = 0; at < bytes.size(); at += kChunk) {
        char line[16];
        const auto piece = std::min(kChunk, bytes.size() - at);
        std::snprintf(line, sizeof line, "%zx\r\n", piece);
        if (digitsAt >= at && digitsAt < at + piece)
            digitsAt = out.size() + std::strlen(line) + (digitsAt - at);
        out += line + bytes.substr(at, piece) + "\r\n";
    }
    return out;
}

std::string HeaderFor(Mode mode)
{
    if (mode == kPlainIcy)
        return icytest::Header(kMetaInt, "icy-name:Bench\r\nicy-br:320\r\n");
    return "HTTP/1.1 200 OK\r\nContent-Type: audio/mpeg\r\nicy-name: Bench\r\nicy-br: 320\r\n"
           "icy-metaint: " +
           std::to_string(kMetaInt) +
           (mode == kChunked ? "\r\nTransfer-Encoding: chunked\r\n\r\n" : "\r\n\r\n");
}

// One client: read its request, answer with the header, then the stream as fast as it goes.
void Serve(int listener, Mode mode, SSL_CTX* context)
{
    Link link;
    link.fd = ::accept(listener, nullptr, nullptr);
    if (link.fd < 0)
        return;
    if (mode == kTls) {
        link.tls = SSL_new(context);
        SSL_set_fd(link.tls, link.fd);
        if (SSL_accept(link.tls) <= 0) {
            SSL_free(link.tls);
            ::close(link.fd);
            return;
        }
    }
    std::string request;
    char buf[1024];
    while (request.find("\r\n\r\n") == std::string::npos) {
        const auto got =
            link.tls ? SSL_read(link.tls, buf, sizeof buf) : ::recv(link.fd, buf, sizeof buf, 0);
        if (got <= 0)
            break;
        request.append(buf, static_cast<std::size_t>(got));
    }
    std::size_t digitsAt = ThePeriod().digitsAt;
    std::string period =
        mode == kChunked ? Chunked(ThePeriod().bytes, digitsAt) : ThePeriod().bytes;
    const std::string header = HeaderFor(mode);
    bool ok = SendAll(link, header.data(), header.size());
    for (std::size_t n = 0; ok && n < kAudioTotal / ThePeriod().audio.size(); ++n) {
        char digits[8];
        std::snprintf(digits, sizeof digits, "%06zu", n % 1000000);
        std::memcpy(period.data() + digitsAt, digits, 6);
        ok = SendAll(link, period.data(), period.size());
    }
    if (ok && mode == kChunked)
        SendAll(link, "0\r\n\r\n", 5);
    if (link.tls) {
        SSL_shutdown(link.tls);
        SSL_free(link.tls);
    }
    ::close(link.fd);
}

// A self-signed certificate for 127.0.0.1 made with the openssl tool; corvane-record trusts it
// through --ca-file.
SSL_CTX* TlsContext(const std::string& dir)
{
    const std::string command =
        "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -keyout '" +
        dir + "/key.pem' -out '" + dir +
        "/cert.pem' -days 2 -subj /CN=127.0.0.1 -addext "
        "subjectAltName=IP:127.0.0.1 2>/dev/null";
    if (std::system(command.c_str()) != 0)
        return nullptr;
    SSL_CTX* context = SSL_CTX_new(TLS_server_method());
    if (SSL_CTX_use_certificate_file(context, (dir + "/cert.pem").c_str(), SSL_FILETYPE_PEM) != 1 ||
        SSL_CTX_use_PrivateKey_file(context, (dir + "/key.pem").c_str(), SSL_FILETYPE_PEM) != 1) {
        SSL_CTX_free(context);
        return nullptr;
    }
    return context;
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
    const auto mode = static_cast<Mode>(state.range(0));
    ThePeriod();
    SSL_CTX* context = mode == kTls ? TlsContext(dir) : nullptr;
    if (mode == kTls && !context) {
        state.SkipWithError("no TLS certificate (openssl tool missing?)");
        return;
    }
    const std::string caFile = dir + "/cert.pem";
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
        std::thread server(Serve, listener, mode, context);

        const std::string url = std::string(mode == kTls ? "https" : "http") +
                                "://127.0.0.1:" + std::to_string(ntohs(addr.sin_port)) + "/";
        const char* argv[] = {CORVANE_RECORD, url.c_str(), "--dir",        dir.c_str(), "--name",
                              "bench.mp3",    "--ca-file", caFile.c_str(), nullptr};
        if (mode != kTls)
            argv[6] = nullptr;
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
    if (context) {
        SSL_CTX_free(context);
        ::unlink((dir + "/key.pem").c_str());
        ::unlink(caFile.c_str());
    }
    ::rmdir(dir.c_str());
    state.SetBytesProcessed(static_cast<std::int64_t>(kAudioTotal) * state.iterations());
    state.counters["record_cpu_s"] = benchmark::Counter(recordCpu / double(state.iterations()));
    state.counters["MB/cpu_s"] =
        benchmark::Counter(double(kAudioTotal) * double(state.iterations()) / recordCpu / 1e6);
}

} // namespace

// Arg: 0 plain ICY, 1 HTTP/1.1 chunked, 2 HTTP/1.1 over TLS.
BENCHMARK(BM_RecordEndToEnd)
    ->ArgName("answer")
    ->Arg(kPlainIcy)
    ->Arg(kChunked)
    ->Arg(kTls)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
