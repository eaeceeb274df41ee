// The parser alone over an in-memory stream: metaint 8192, a title every 64 blocks (the blocks in
// between have length 0, as servers send them), fed in arrivals of the size given as argument.
#include "../../tests/recorder/IcyStream.h"
#include "IcyParser.h"

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

// Counts what it is handed; with copy set it also copies each piece once, as a file write would.
struct CountingSink : recorder::IcySink
{
    bool copy = false;
    std::string out = std::string(1 << 20, '\0');
    std::size_t audio = 0;
    std::size_t titles = 0;
    void WriteOutFile(std::string_view sBuff) override
    {
        if (copy)
            sBuff.copy(out.data(), std::min(sBuff.size(), out.size()));
        audio += sBuff.size();
    }
    void ShowTitle(std::string_view sMetaData) override { titles += sMetaData.size() != 0; }
};

const icytest::Stream& TestStream()
{
    static const auto stream = icytest::BuildStream(8192, 4096, 0, [](int i) {
        return i % 64 == 63 ? "StreamTitle='Artist " + std::to_string(i) + " - Song';"
                            : std::string();
    });
    return stream;
}

void BM_ProcessBuffer(benchmark::State& state)
{
    const auto& stream = TestStream();
    const auto arrival = static_cast<std::size_t>(state.range(0));
    CountingSink sink;
    sink.copy = state.range(1) != 0;
    recorder::IcyStreamParser parser(sink);
    for (auto _ : state) {
        parser.Reset(8192);
        bool bInMeta = false;
        const std::string_view all(stream.bytes);
        for (std::size_t at = 0; at < all.size(); at += arrival) {
            auto sData = all.substr(at, arrival);
            while (!sData.empty())
                sData = parser.ProcessBuffer(sData, bInMeta);
        }
        benchmark::DoNotOptimize(sink.audio);
    }
    if (sink.audio != stream.audio.size() * state.iterations())
        state.SkipWithError("audio lost");
    state.SetBytesProcessed(static_cast<std::int64_t>(stream.bytes.size()) * state.iterations());
}

} // namespace

// Arguments: arrival size, and whether the audio is copied once (0 = the parser's own cost only).
BENCHMARK(BM_ProcessBuffer)
    ->ArgsProduct({{1460, 16 * 1024, 64 * 1024}, {0, 1}})
    ->Unit(benchmark::kMillisecond);
