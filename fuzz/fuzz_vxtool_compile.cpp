// The config source compiler over fuzzed source text. It must never crash; whatever it accepts must be a config
// that Brennic loads, accepts and builds, and decompiling that config and compiling the result again must give
// the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "config_decompiler.h"
#include "config_source.h"
#include "description/config_loader.h"
#include "description/config_writer.h"
#include "description/table_builder.h"

namespace {

void fail(int line) {
    std::fprintf(stderr, "check failed at line %d\n", line);
    std::abort();
}
#define check(condition) ((condition) ? void() : fail(__LINE__))

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view source(reinterpret_cast<const char*>(data), size);
    brennic::ProgramDescription compiled;
    const brennic::authoring::CompileOutcome outcome =
        brennic::authoring::compileSource(source, "fuzz.toml", compiled);
    for (const auto& diagnostic : outcome.errors) check(!diagnostic.message.empty());
    if (!outcome.ok()) return 0;

    const std::vector<std::uint8_t> bytes = brennic::writeConfig(compiled);
    brennic::ProgramDescription loaded;
    brennic::errorVX error;
    try {
        brennic::loadDescription(loaded, bytes, error);
        brennic::validateDescription(loaded, error);
    } catch (const brennic::errorVX&) {
        std::fprintf(stderr, "compiled config refused: %d/%d %s\n", error.fileError, error.configError,
                     brennic::findDamage(loaded) ? brennic::findDamage(loaded) : "");
        fail(__LINE__);
    }

    const std::string again = brennic::authoring::decompileDescription(loaded, "fuzz.vx");
    brennic::ProgramDescription recompiled;
    check(brennic::authoring::compileSource(again, "again.toml", recompiled).ok());
    check(brennic::writeConfig(recompiled) == bytes);

    check(brennic::buildTables(loaded));
    return 0;
}
