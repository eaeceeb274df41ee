// A "Channel.ini" of 500 channel types with 20 channels each, the size the directory window
// binds at every start: binding, one GetValue, one WriteValue.

#include <quillet/OrvaINIManager.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>

namespace {

constexpr int kTypes = 500;
constexpr int kChannels = 20;

std::string TypeName(int t)
{
    char name[32];
    std::snprintf(name, sizeof name, "Type %03d", t);
    return name;
}

std::string ChannelName(int t, int c)
{
    char name[48];
    std::snprintf(name, sizeof name, "Channel %03d-%02d", t, c);
    return name;
}

class ChannelIni
{
  public:
    ChannelIni()
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quillet-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        dir = pattern;
        path = (dir / "Channel.ini").string();
        std::ofstream out(path, std::ios::binary);
        out << "ok\r\n";
        for (int t = 1; t <= kTypes; ++t) {
            out << "[" << TypeName(t) << "]\r\n";
            for (int c = 1; c <= kChannels; ++c) {
                out << ChannelName(t, c) << "=http://127.0.0.1:8000/stream/" << t << "/" << c
                    << "\r\n";
            }
        }
    }
    ~ChannelIni() { std::filesystem::remove_all(dir); }

    // Stamps the file with a time: in the past it is a file written long ago; in the future it
    // stays "just written" for the whole run, so every read confirms its parsed copy.
    void SetModified(time_t seconds, long nanos) const
    {
        const timespec times[2] = {{seconds, nanos}, {seconds, nanos}};
        utimensat(AT_FDCWD, path.c_str(), times, 0);
    }

    std::filesystem::path dir;
    std::string path;
};

ChannelIni& File()
{
    static ChannelIni file;
    return file;
}

void Conditions(benchmark::State& state, const char* what)
{
    state.SetLabel(what);
}

void BM_Bind(benchmark::State& state)
{
    File().SetModified(time(nullptr) - 3600, 123456789);
    auto manager = std::make_shared<quillet::OrvaINIManager>();
    for (auto _ : state) {
        manager->setINIFile(File().path);
        benchmark::DoNotOptimize(manager->Sections()->Count());
    }
    Conditions(state, "file unchanged since last read");
}

void BM_BindAndWalkModel(benchmark::State& state)
{
    File().SetModified(time(nullptr) - 3600, 123456789);
    auto manager = std::make_shared<quillet::OrvaINIManager>();
    for (auto _ : state) {
        manager->setINIFile(File().path);
        auto sections = manager->Sections();
        size_t bytes = 0;
        for (int32_t s = 1; s <= sections->Count(); ++s) {
            auto values = sections->Item(s)->Values();
            for (int32_t v = 1; v <= values->Count(); ++v) {
                bytes += values->Item(v)->Value().size();
            }
        }
        benchmark::DoNotOptimize(bytes);
    }
    Conditions(state, "every entry of every type fetched from the model");
}

void BM_BindChangedFile(benchmark::State& state)
{
    auto manager = std::make_shared<quillet::OrvaINIManager>();
    long tick = 0;
    for (auto _ : state) {
        state.PauseTiming();
        File().SetModified(time(nullptr) - 3600, ++tick);
        state.ResumeTiming();
        manager->setINIFile(File().path);
        benchmark::DoNotOptimize(manager->Sections()->Count());
    }
    Conditions(state, "file changed before every bind: read and parse");
}

void GetValue(benchmark::State& state, long offset)
{
    File().SetModified(time(nullptr) + offset, 987654321);
    auto manager = std::make_shared<quillet::OrvaINIManager>();
    manager->setINIFile(File().path);
    const std::string type = TypeName(kTypes);
    const std::string channel = ChannelName(kTypes, kChannels);
    for (auto _ : state) {
        benchmark::DoNotOptimize(manager->GetValue(type, channel));
    }
}

void BM_GetValue(benchmark::State& state)
{
    GetValue(state, -3600);
    Conditions(state, "last channel of the last type");
}

void BM_GetValueJustWritten(benchmark::State& state)
{
    GetValue(state, 3600);
    Conditions(state, "within a timestamp tick of a write: content confirmed on each call");
}

void BM_WriteValue(benchmark::State& state)
{
    auto manager = std::make_shared<quillet::OrvaINIManager>();
    manager->setINIFile(File().path);
    const std::string type = TypeName(kTypes / 2);
    const std::string channel = ChannelName(kTypes / 2, kChannels / 2);
    int i = 0;
    for (auto _ : state) {
        const bool ok =
            manager->WriteValue(type, channel, "http://127.0.0.1:8000/" + std::to_string(i++ % 2));
        if (!ok) {
            state.SkipWithError("WriteValue failed");
            break;
        }
    }
    Conditions(state, "value replaced, file rewritten (fdatasync, rename), model reloaded");
}

} // namespace

BENCHMARK(BM_Bind)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BindAndWalkModel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BindChangedFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetValue)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GetValueJustWritten)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WriteValue)->Unit(benchmark::kMillisecond);
