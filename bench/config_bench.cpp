// Config load + validate + build against reading the same file and scanning it for zero bytes, for the
// largest config the table limits allow and for a string-heavy config of 64 MiB.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "description/config_loader.h"
#include "description/config_writer.h"
#include "description/table_builder.h"

namespace brennic {
namespace {

// A raw description with every count just below its table limit: 29 lists of 20 entries, 99 actions with two
// texts each, 49 path specs with 255 filters each, 99 manual specs and 99 filter texts. Strings taken by the
// tables come first; extraStrings more follow them. Every string is stringLength characters long, or, when
// stringLength is 0, long enough for the strings to fill stringBytes together.
ProgramDescription fullConfig(std::size_t stringLength, std::size_t extraStrings, std::size_t stringBytes = 0) {
    ProgramDescription d;
    ConfigHeader& h = d.header;
    h.version = ProgramDescription::maxVersion;
    h.firstList = 0;
    h.listCount = kListLimit - 1;
    h.actionCount = kActionLimit - 1;
    h.pathSpecCount = kPathSpecLimit - 1;
    h.manualSpecCount = kManualSpecLimit - 1;
    h.filterTextCount = kFilterTextLimit - 1;

    for (std::uint16_t list = 0; list < h.listCount; ++list) {
        d.listLengths.push_back(kMaxListEntries);
        for (std::uint16_t e = 0; e < kMaxListEntries; ++e)
            d.listItems.push_back(static_cast<std::uint16_t>((list * kMaxListEntries + e) % h.actionCount));
    }
    for (std::uint16_t a = 0; a < h.actionCount; ++a) {
        ActionRecord r;
        r.nextListNo = static_cast<std::uint16_t>(a % (h.listCount + 1));
        r.pathSpecNo = static_cast<std::uint16_t>(a % (h.pathSpecCount + 1));
        r.manualSpecNo = static_cast<std::uint16_t>(a % (h.manualSpecCount + 1));
        r.textCount = 2;
        r.placement = 0x39;
        d.actionRecords.push_back(r);
    }
    for (std::uint16_t p = 0; p < h.pathSpecCount; ++p) {
        d.pathSpecRecords.push_back({static_cast<std::uint8_t>(p % 3), 255});
        for (int f = 0; f < 255; ++f) d.filterItems.push_back(static_cast<std::uint8_t>((p + f) % h.filterTextCount));
    }
    h.listItemCount = static_cast<std::uint16_t>(d.listItems.size());
    h.filterItemCount = static_cast<std::uint16_t>(d.filterItems.size());

    h.stringCount = 6;  // the six description texts are taken only from a table that has them
    const std::size_t taken = stringsTaken(h, d.actionRecords);
    const std::size_t total = std::min<std::size_t>(taken + extraStrings, 65535);
    h.stringCount = static_cast<std::uint16_t>(total);
    if (stringLength == 0) stringLength = stringBytes / total - 1;
    for (std::size_t i = 0; i < total; ++i) {
        std::string text(stringLength, 'a');
        for (std::size_t c = 0; c < text.size(); c += 7) text[c] = static_cast<char>('A' + (i + c) % 26);
        d.stringTable.push_back(std::move(text));
    }
    if (const char* damage = findDamage(d)) throw std::logic_error(std::string("benchmark config refused: ") + damage);
    return d;
}

std::filesystem::path dataFolder() {
    const char* folder = std::getenv("BRENNIC_BENCH_DATA");
    std::filesystem::path path = folder != nullptr ? folder : std::filesystem::temp_directory_path();
    std::filesystem::create_directories(path);
    return path;
}

// Writes the config once per process and returns its path.
std::string configFile(const std::string& name, const ProgramDescription& description) {
    const auto path = dataFolder() / name;
    const std::vector<std::uint8_t> bytes = writeConfig(description);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
    return path.string();
}

// Largest within the table limits: the most strings a file can declare, each as long as a text a control
// gives back (259 characters): about 17 MiB.
const std::string& largestConfig() {
    static const std::string path = configFile("bench-largest.vx", fullConfig(259, 65535));
    return path;
}

// String-heavy: only the strings the tables take, each long enough for 64 MiB in all.
const std::string& stringHeavyConfig() {
    static const std::string path = configFile("bench-strings-64mib.vx", fullConfig(0, 0, 64u << 20));
    return path;
}

void loadValidateBuild(benchmark::State& state, const std::string& path) {
    const auto size = static_cast<std::int64_t>(std::filesystem::file_size(path));
    for (auto _ : state) {
        ProgramDescription description;
        errorVX error;
        loadConfigFile(path, description, error);
        if (!buildTables(description)) state.SkipWithError("buildTables refused the config");
        benchmark::DoNotOptimize(description.actions.data());
    }
    state.SetBytesProcessed(state.iterations() * size);
}

// What any reader of the file must do at least: read it into memory and find its zero bytes.
void readAndScan(benchmark::State& state, const std::string& path) {
    const auto size = static_cast<std::int64_t>(std::filesystem::file_size(path));
    for (auto _ : state) {
        std::ifstream in(path, std::ios::binary);
        std::vector<char> bytes(static_cast<std::size_t>(size));
        in.read(bytes.data(), size);
        const auto zeros = std::count(bytes.begin(), bytes.end(), '\0');
        benchmark::DoNotOptimize(zeros);
    }
    state.SetBytesProcessed(state.iterations() * size);
}

void BM_ConfigLoad_Largest(benchmark::State& state) { loadValidateBuild(state, largestConfig()); }
void BM_ConfigBaseline_Largest(benchmark::State& state) { readAndScan(state, largestConfig()); }
void BM_ConfigLoad_Strings64MiB(benchmark::State& state) { loadValidateBuild(state, stringHeavyConfig()); }
void BM_ConfigBaseline_Strings64MiB(benchmark::State& state) { readAndScan(state, stringHeavyConfig()); }

BENCHMARK(BM_ConfigBaseline_Largest)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_ConfigLoad_Largest)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_ConfigBaseline_Strings64MiB)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_ConfigLoad_Strings64MiB)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace
}  // namespace brennic
