// Quoting of texts placed on a command line.
#pragma once

#include <string>
#include <string_view>

namespace brennic {

// For the described program (and anything else that splits its command line by the usual Windows rules):
// a double quote before and after a non-empty text; inside, only the backslashes that stand right before
// the closing quote are doubled, so "C:\" cannot turn into an escaped quote that swallows the rest of the
// line. Everything else is copied as it is. An empty text stays empty.
std::string quoteArgument(std::string_view text);

// Plain quotes for programs that take the quoted text literally (explorer): a double quote before and
// after a non-empty text, nothing doubled or escaped. An empty text stays empty.
std::string quoteText(std::string_view text);

}  // namespace brennic
