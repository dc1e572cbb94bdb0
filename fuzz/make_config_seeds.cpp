// Writes the seed corpus of fuzz_config: valid configs of several shapes and a few refused ones.
// Usage: make_config_seeds DIR
#include <cstdio>
#include <fstream>
#include <string>

#include "config_fixtures.h"
#include "description/config_writer.h"

namespace {

using namespace brennic;

void save(const std::string& dir, const std::string& name, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(dir + "/" + name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_config_seeds DIR\n");
        return 2;
    }
    const std::string dir = argv[1];

    save(dir, "sample.vx", test::sampleBytes());

    ProgramDescription raw = test::sampleRaw();
    raw.header.version = 5;
    raw.header.firstList = 1;
    raw.header.reserved = {'B', 'R', 'N', 0, 1, 2};
    raw.actionRecords[4].placement = 0xFF;
    raw.actionRecords[1].textCount = 0;
    save(dir, "variant.vx", writeConfig(raw));

    // Five strings: no description texts.
    ProgramDescription small;
    small.header.version = 1;
    small.header.listCount = 1;
    small.header.listItemCount = 1;
    small.header.actionCount = 1;
    small.listLengths = {1};
    small.listItems = {0};
    small.actionRecords.resize(1);
    small.stringTable = {"label", "caption", "", "", "spare"};
    small.header.stringCount = 5;
    save(dir, "five-strings.vx", writeConfig(small));

    // Many lists and actions near their limits, with filters shared between path specs.
    ProgramDescription big = test::sampleTables();
    big.lists.resize(29, big.lists[1]);
    big.lists[28].entries.assign(20, 4);
    big.actions.resize(99, big.actions[2]);
    big.pathSpecs.resize(49, big.pathSpecs[0]);
    big.filterTexts.resize(99, "Any\x01*");
    big.manualSpecs.resize(9, big.manualSpecs[0]);
    rawFromTables(big);
    std::vector<std::uint8_t> bytes = writeConfig(big);
    bytes.insert(bytes.end(), {'t', 'a', 'i', 'l'});
    save(dir, "large-with-tail.vx", bytes);

    // Refused: a cut last string, a damaged index, a new version.
    bytes = test::sampleBytes();
    bytes.pop_back();
    save(dir, "cut.vx", bytes);
    raw = test::sampleRaw();
    raw.listItems[1] = 5;
    save(dir, "damaged.vx", writeConfig(raw));
    raw = test::sampleRaw();
    raw.header.version = 6;
    save(dir, "new-version.vx", writeConfig(raw));
    return 0;
}
