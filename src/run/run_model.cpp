// One run as the run window shows it.
#include "run/run_model.h"

#include <algorithm>
#include <cstring>

#include "platform/text.h"

namespace brennic {

namespace {

// Decoded text goes to the line layout in slices of about this size, so that the lines completed by one
// large chunk never pile up beyond the window's bound before they are trimmed.
constexpr std::size_t kFeedSlice = 64 * 1024;

// A percentage on one of this many last completed lines still counts when the line being written has none.
constexpr std::uint64_t kProgressLines = 8;

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The UTF-16 length of text known to be valid UTF-8 (the line layout gives nothing else): one unit per
// character, two for a four-byte one. Much cheaper than decoding every character.
std::size_t unitsOfValidUtf8(std::string_view text) {
    std::size_t units = 0;
    std::size_t i = 0;
    const auto count = [&units](char c) {
        const auto byte = static_cast<unsigned char>(c);
        units += (byte & 0xC0) != 0x80 ? 1 : 0;
        units += byte >= 0xF0 ? 1 : 0;
    };
    for (; text.size() - i >= 8; i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + i, 8);
        if ((word & 0x8080808080808080u) == 0) {
            units += 8;  // ASCII: a unit a byte
        } else {
            for (std::size_t k = i; k < i + 8; ++k) count(text[k]);
        }
    }
    for (; i < text.size(); ++i) count(text[i]);
    return units;
}

bool isAscii(std::string_view bytes) {
    std::size_t i = 0;
    std::uint64_t any = 0;
    for (; bytes.size() - i >= 8; i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes.data() + i, 8);
        any |= word;
    }
    for (; i < bytes.size(); ++i) any |= static_cast<unsigned char>(bytes[i]);
    return (any & 0x8080808080808080u) == 0;
}

// Kept text before the first kept line is given back once it is at least this long and more than what follows.
constexpr std::size_t kKeptTextSlack = 1u << 20;

std::string withThousands(std::uint64_t number) {
    const std::string digits = std::to_string(number);
    std::string grouped;
    grouped.reserve(digits.size() + digits.size() / 3);
    for (std::size_t at = 0; at < digits.size(); ++at) {
        if (at != 0 && (digits.size() - at) % 3 == 0) grouped += ',';
        grouped += digits[at];
    }
    return grouped;
}

}  // namespace

RunModel::RunModel(std::string programName, std::string commandLine, const CodePage& oem, const CodePage& ansi,
                   OutputReading reading)
    : programName_(std::move(programName)),
      commandLine_(std::move(commandLine)),
      oem_(oem),
      ansi_(ansi),
      reading_(reading),
      decoder_(reading, oem, ansi),
      utf8Watch_(OutputReading::Auto, oem, ansi) {}

void RunModel::started(std::uint64_t nowMs) {
    running_ = true;
    end_.reset();
    startMs_ = nowMs;
    endMs_ = nowMs;
}

void RunModel::append(std::string_view bytes) {
    if (bytes.empty()) return;
    raw_.append(bytes);
    if ((utf8Watch_.fellBack() || utf8Watch_.passesAscii()) && decoder_.passesAscii() && isAscii(bytes)) {
        feedDecoded(bytes);  // decoding would copy it unchanged
        trimRaw();
        return;
    }
    if (!utf8Watch_.fellBack()) {
        utf8Watch_.check(bytes);
        sawNonUtf8_ = utf8Watch_.fellBack();
    }
    if (reading_ == OutputReading::Auto && sawNonUtf8_ && !decoder_.fellBack()) {
        // Auto has just met a byte that is not UTF-8: everything kept reads OEM from now on.
        trimRaw();
        redecode();
        return;
    }
    decoded_.clear();
    decoder_.decode(bytes, decoded_);
    feedDecoded(decoded_);
    trimRaw();
}

void RunModel::ended(const RunEnd& end, std::uint64_t nowMs) {
    decoded_.clear();
    decoder_.finish(decoded_);
    feedDecoded(decoded_);
    running_ = false;
    end_ = end;
    endMs_ = nowMs < startMs_ ? startMs_ : nowMs;
}

void RunModel::setReading(OutputReading reading) {
    if (reading == reading_) return;
    reading_ = reading;
    redecode();
}

OutputReading RunModel::logReading() const {
    if (reading_ != OutputReading::Auto) return reading_;
    return sawNonUtf8_ ? OutputReading::Oem : OutputReading::Utf8;
}

void RunModel::feedDecoded(std::string_view text) {
    if (text.empty()) return;
    viewChanged_ = true;
    while (!text.empty()) {
        std::size_t size = text.size() <= kFeedSlice ? text.size() : kFeedSlice;
        while (size < text.size() && size > 0 && isContinuationByte(text[size])) --size;
        if (size == 0) size = text.size();
        lines_.feed(text.substr(0, size), completed_);
        keepCompleted();
        text.remove_prefix(size);
    }
}

void RunModel::keepCompleted() {
    const std::size_t count = completed_.size();
    // Only the last few lines of a batch can still count for the progress (see progress()).
    const std::size_t percentFrom = count > kProgressLines ? count - kProgressLines : 0;
    const std::string_view text = completed_.text;
    std::size_t begin = keptUpTo_;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t end = completed_.ends[i];
        const std::string_view line = text.substr(begin, end - begin);
        const KeptLine kept{keptBase_ + begin, line.size(), unitsOfValidUtf8(line)};
        if (i >= percentFrom) {
            if (const auto percent = lastPercentage(line)) {
                lastLinePercent_ = percent;
                lastPercentLine_ = firstKept_ + kept_.size();
            }
        }
        keptBytes_ += kept.bytes;
        keptUnits_ += kept.units + 2;
        kept_.push_back(kept);
        begin = end;
    }
    completed_.ends.clear();
    keptUpTo_ = completed_.text.size();
    trimKept();
}

void RunModel::trimKept() {
    while (!kept_.empty() && (kept_.size() > kMaxKeptLines || keptBytes_ > kMaxKeptTextBytes)) {
        const KeptLine& front = kept_.front();
        if (firstKept_ < viewCurrent_) {
            viewDropUnits_ += front.units + 2;  // the control holds it whole
        } else {
            viewReset_ = true;  // the line the control was last given as the one being written is gone
        }
        keptBytes_ -= front.bytes;
        keptUnits_ -= front.units + 2;
        kept_.pop_front();
        ++firstKept_;
        ++leftOutLines_;
    }
    std::string& keptText = completed_.text;
    const std::size_t unused =
        kept_.empty() ? keptUpTo_ : static_cast<std::size_t>(kept_.front().at - keptBase_);
    if (unused >= kKeptTextSlack && unused > keptText.size() - unused) {
        keptText.erase(0, unused);
        keptBase_ += unused;
        keptUpTo_ -= unused;
    }
}

void RunModel::trimRaw() {
    if (raw_.size() <= 2 * kMaxKeptRawBytes) return;
    const std::size_t cut = raw_.size() - kMaxKeptRawBytes;
    std::size_t at = raw_.find('\n', cut);
    if (at != std::string::npos) {
        ++at;  // a kept line starts whole
    } else {
        at = cut;  // one endless line: at least no UTF-8 character is cut in two
        while (at < raw_.size() && isContinuationByte(raw_[at]) && at - cut < 3) ++at;
    }
    rawLeftOutLines_ += static_cast<std::uint64_t>(std::count(raw_.begin(), raw_.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
    raw_.erase(0, at);
}

void RunModel::redecode() {
    decoder_ = OutputDecoder(reading_, oem_, ansi_);
    if (reading_ == OutputReading::Auto && sawNonUtf8_) decoder_.startFallenBack();
    lines_ = ConsoleLines();
    completed_.clear();
    kept_.clear();
    keptUpTo_ = 0;
    keptBase_ = 0;
    keptBytes_ = 0;
    keptUnits_ = 0;
    firstKept_ = 0;
    leftOutLines_ = rawLeftOutLines_;
    lastLinePercent_.reset();
    lastPercentLine_ = 0;
    viewReset_ = true;
    viewChanged_ = true;
    viewCurrent_ = 0;
    viewDropUnits_ = 0;
    viewPrefixUnits_ = 0;

    std::string_view rest = raw_;
    while (!rest.empty()) {
        const std::string_view piece = rest.substr(0, rest.size() < kFeedSlice ? rest.size() : kFeedSlice);
        decoded_.clear();
        decoder_.decode(piece, decoded_);
        feedDecoded(decoded_);
        rest.remove_prefix(piece.size());
    }
    if (end_) {
        decoded_.clear();
        decoder_.finish(decoded_);
        feedDecoded(decoded_);
    }
}

ViewUpdate RunModel::takeViewUpdate() {
    ViewUpdate update;
    if (!viewChanged_ && !viewReset_) return update;
    update.changed = true;
    if (viewReset_ || viewCurrent_ < firstKept_) {
        update.reset = true;
        update.text = viewText();
    } else {
        update.dropFront = viewDropUnits_;
        update.replaceFrom = viewPrefixUnits_ - viewDropUnits_;
        for (std::size_t i = static_cast<std::size_t>(viewCurrent_ - firstKept_); i < kept_.size(); ++i) {
            update.text += keptLine(kept_[i]);
            update.text += "\r\n";
        }
        update.text += lines_.currentLine();
    }
    viewCurrent_ = firstKept_ + kept_.size();
    viewPrefixUnits_ = keptUnits_;
    viewDropUnits_ = 0;
    viewReset_ = false;
    viewChanged_ = false;
    return update;
}

std::string RunModel::viewText() const {
    std::string text;
    text.reserve(keptBytes_ + 2 * kept_.size() + 64);
    for (const KeptLine& line : kept_) {
        text += keptLine(line);
        text += "\r\n";
    }
    text += lines_.currentLine();
    return text;
}

std::string RunModel::viewTail(std::size_t lines) const {
    const std::size_t from = kept_.size() > lines ? kept_.size() - lines : 0;
    std::string text;
    for (std::size_t i = from; i < kept_.size(); ++i) {
        text += keptLine(kept_[i]);
        text += "\r\n";
    }
    text += lines_.currentLine();
    return text;
}

std::string RunModel::leftOutText() const {
    if (leftOutLines_ == 0) return {};
    const std::uint64_t earlier = leftOutLines_;
    return "The window shows the last " + withThousands(kept_.size()) + (kept_.size() == 1 ? " line; " : " lines; ") +
           withThousands(earlier) + (earlier == 1 ? " earlier line is" : " earlier lines are") +
           " in the saved log.";
}

std::optional<int> RunModel::progress() const {
    if (const auto percent = lastPercentage(lines_.currentLine())) return percent;
    const std::uint64_t current = firstKept_ + kept_.size();
    if (lastLinePercent_ && current - lastPercentLine_ <= kProgressLines) return lastLinePercent_;
    return std::nullopt;
}

bool RunModel::endedWell() const { return end_ && brennic::endedWell(*end_); }

std::uint64_t RunModel::durationMs(std::uint64_t nowMs) const {
    if (end_) return endMs_ - startMs_;
    if (!running_ || nowMs < startMs_) return 0;
    return nowMs - startMs_;
}

std::string RunModel::statusText(std::uint64_t nowMs) const {
    if (end_) return endedStatus(*end_, durationMs(nowMs));
    return runningStatus(durationMs(nowMs));
}

std::string RunModel::titleText() const { return runTitle(programName_, !end_, end_.value_or(RunEnd{})); }

LogFooter RunModel::logFooter(std::uint64_t nowMs) const { return LogFooter{end_, durationMs(nowMs)}; }

}  // namespace brennic
