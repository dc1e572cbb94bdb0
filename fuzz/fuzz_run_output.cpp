// A run's output through the run window's core: arbitrary bytes in arbitrary chunks, reading switches and
// view updates in between. The window's text is always valid UTF-8 and within its bound; the EDIT control's
// text rebuilt from the incremental updates equals the full text; the log streamed in the run's own chunks
// equals the log converted in one piece; the console layout of whole lines equals the layout character by
// character.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fake_code_pages.h"
#include "platform/text.h"
#include "run/run_log.h"
#include "run/run_model.h"

namespace {

const brennic::TestDoubleByteCodePage kOem;
const brennic::Windows1252 kAnsi;

void check(bool condition) {
    if (!condition) std::abort();
}

struct StringSink : brennic::LogSink {
    std::string text;
    bool write(std::string_view utf8) override {
        text.append(utf8);
        return true;
    }
};

void apply(std::u16string& edit, const brennic::ViewUpdate& update) {
    if (!update.changed) return;
    check(brennic::isUtf8(update.text));
    if (update.reset) {
        edit = brennic::utf16FromUtf8(update.text);
        return;
    }
    check(update.dropFront <= edit.size());
    edit.erase(0, update.dropFront);
    check(update.replaceFrom <= edit.size());
    edit.replace(update.replaceFrom, std::u16string::npos, brennic::utf16FromUtf8(update.text));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using brennic::OutputReading;
    FuzzedDataProvider in(data, size);
    const auto reading = static_cast<OutputReading>(in.ConsumeIntegralInRange<int>(0, 3));
    brennic::RunModel model("prog", in.ConsumeRandomLengthString(64), kOem, kAnsi, reading);
    model.started(0);

    std::vector<std::string> chunks;
    std::u16string edit;
    bool switched = false;
    while (in.remaining_bytes() > 0) {
        switch (in.ConsumeIntegralInRange<int>(0, 5)) {
            case 0:
                model.setReading(static_cast<OutputReading>(in.ConsumeIntegralInRange<int>(0, 3)));
                switched = true;
                break;
            case 1: {
                apply(edit, model.takeViewUpdate());
                check(edit == brennic::utf16FromUtf8(model.viewText()));
                break;
            }
            case 2: {
                // A flood: one chunk many times over, to reach the window's bound.
                const std::string chunk = in.ConsumeRandomLengthString(64);
                const int times = in.ConsumeIntegralInRange<int>(1, 4000);
                for (int i = 0; i < times && !chunk.empty(); ++i) {
                    model.append(chunk);
                    chunks.push_back(chunk);
                }
                break;
            }
            default: {
                std::string chunk = in.ConsumeRandomLengthString(256);
                model.append(chunk);
                chunks.push_back(std::move(chunk));
                break;
            }
        }
    }
    model.ended(brennic::RunEnd{in.ConsumeIntegral<std::uint32_t>(), false}, 1234);

    const std::string view = model.viewText();
    check(brennic::isUtf8(view));
    // The bound: the kept lines with their line ends, and the line being written.
    check(view.size() <= brennic::kMaxKeptTextBytes + 2 * brennic::kMaxKeptLines + 4 * brennic::kMaxLineCharacters);
    apply(edit, model.takeViewUpdate());
    check(edit == brennic::utf16FromUtf8(view));
    check(!model.takeViewUpdate().changed);

    StringSink sink;
    brennic::LogWriter writer(sink, model.logReading(), kOem, kAnsi);
    writer.header(model.commandLine());
    for (const std::string& chunk : chunks) writer.write(chunk);
    writer.finish(model.logFooter(1234));
    std::string all;
    for (const std::string& chunk : chunks) all += chunk;
    const std::string whole =
        brennic::logText(model.commandLine(), all, model.logReading(), kOem, kAnsi, model.logFooter(1234));
    check(sink.text == whole);
    check(brennic::isUtf8(whole));

    // The window's text does not depend on where the output was cut (while the raw bytes kept for a switch of
    // reading are all the output).
    if (!switched && all.size() <= brennic::kMaxKeptRawBytes) {
        brennic::RunModel oneShotModel("prog", model.commandLine(), kOem, kAnsi, reading);
        oneShotModel.started(0);
        oneShotModel.append(all);
        oneShotModel.ended(*model.end(), 1234);
        check(oneShotModel.viewText() == view);
        check(oneShotModel.leftOutLines() == model.leftOutLines());
        check(oneShotModel.progress() == model.progress());
    }

    // Lines laid out in one piece equal the layout character by character.
    const std::string text = brennic::validUtf8(all);
    brennic::ConsoleLines oneShot, single;
    std::vector<std::string> wholeLines, singleLines;
    oneShot.feed(text, wholeLines);
    for (std::size_t at = 0; at < text.size();) {
        std::size_t next = at;
        brennic::nextCodePoint(text, next);
        single.feed(std::string_view(text).substr(at, next - at), singleLines);
        at = next;
    }
    check(wholeLines == singleLines);
    check(oneShot.currentLine() == single.currentLine());
    check(oneShot.completedCount() == single.completedCount() && oneShot.completedCount() == wholeLines.size());

    return 0;
}
