// The run window's core under a flood of output: a build-log-like stream with progress lines that update in
// place and colour escapes, through the decoder, the console layout and the view updates the window applies
// about 20 times a second; and the streamed log conversion of the same bytes.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/text.h"
#include "run/run_log.h"
#include "run/run_model.h"

namespace brennic {
namespace {

constexpr std::size_t kChunk = 64 * 1024;      // what one read from the pipe may give
constexpr std::size_t kFlood = 64u << 20;      // per round

// 1 MiB of output: compiler-like lines, "\r" progress lines and coloured words, some of it not ASCII.
std::string floodBlock() {
    std::string block;
    for (int i = 0; block.size() < (1u << 20); ++i) {
        if (i % 10 == 0) {
            block += "\r[" + std::to_string(i % 101) + "%] building \u00e9l\u00e9ment " + std::to_string(i);
        } else {
            block += "\x1b[32mcompiling\x1b[0m src/module_" + std::to_string(i) + ".cpp -O2 -Wall \u6570\u636e\n";
        }
    }
    return block;
}

void BM_RunOutputFlood(benchmark::State& state) {
    const std::string block = floodBlock();
    const Windows1252 codePage;
    std::size_t kept = 0;
    for (auto _ : state) {
        RunModel model("prog", "prog.exe", codePage, codePage);
        model.started(0);
        std::size_t sinceUpdate = 0;
        for (std::size_t done = 0; done < kFlood; done += kChunk) {
            const std::size_t at = done % block.size();
            model.append(std::string_view(block).substr(at, std::min(kChunk, block.size() - at)));
            sinceUpdate += kChunk;
            if (sinceUpdate >= (2u << 20)) {  // 20 updates a second at 40 MB/s
                const ViewUpdate update = model.takeViewUpdate();
                benchmark::DoNotOptimize(update.text.data());
                benchmark::DoNotOptimize(model.progress());
                sinceUpdate = 0;
            }
        }
        kept = model.viewText().size();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(kFlood));
    state.counters["kept_bytes"] = static_cast<double>(kept);
}

// Plain numbered lines, as the flood probe's test program writes them, 256 KiB a turn as the window takes them.
void BM_RunOutputPlainFlood(benchmark::State& state) {
    std::string block;
    for (int i = 1; block.size() < (1u << 20); ++i)
        block += "line " + std::to_string(i) + ": the quick brown fox jumps over the lazy dog\n";
    const Windows1252 codePage;
    constexpr std::size_t kTurn = 256 * 1024;
    for (auto _ : state) {
        RunModel model("prog", "prog.exe", codePage, codePage);
        model.started(0);
        for (std::size_t done = 0; done < kFlood; done += kTurn) {
            model.append(std::string_view(block).substr(done % (1u << 20) % (block.size() - kTurn), kTurn));
            if (done % (8u << 20) == 0) benchmark::DoNotOptimize(model.takeViewUpdate().text.data());
        }
        benchmark::DoNotOptimize(model.viewText().size());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(kFlood));
}

void BM_RunLogStream(benchmark::State& state) {
    const std::string block = floodBlock();
    const Windows1252 codePage;
    struct CountingSink : LogSink {
        std::size_t bytes = 0;
        bool write(std::string_view utf8) override {
            bytes += utf8.size();
            return true;
        }
    };
    for (auto _ : state) {
        CountingSink sink;
        LogWriter writer(sink, OutputReading::Utf8, codePage, codePage);
        writer.header("prog.exe");
        for (std::size_t done = 0; done < kFlood; done += kChunk) {
            const std::size_t at = done % block.size();
            writer.write(std::string_view(block).substr(at, std::min(kChunk, block.size() - at)));
        }
        writer.finish({});
        benchmark::DoNotOptimize(sink.bytes);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(kFlood));
}

BENCHMARK(BM_RunOutputFlood)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_RunOutputPlainFlood)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_RunLogStream)->Unit(benchmark::kMillisecond)->Repetitions(5);

}  // namespace
}  // namespace brennic
