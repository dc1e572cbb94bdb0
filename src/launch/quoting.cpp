// Quoting of texts placed on a command line.
#include "launch/quoting.h"

namespace brennic {

std::string quoteArgument(std::string_view text) {
    if (text.empty()) return {};
    std::size_t trailing = 0;
    while (trailing < text.size() && text[text.size() - 1 - trailing] == '\\') ++trailing;
    std::string quoted;
    quoted.reserve(text.size() + trailing + 2);
    quoted += '"';
    quoted += text;
    quoted.append(trailing, '\\');
    quoted += '"';
    return quoted;
}

std::string quoteText(std::string_view text) {
    if (text.empty()) return {};
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted += '"';
    quoted += text;
    quoted += '"';
    return quoted;
}

}  // namespace brennic
