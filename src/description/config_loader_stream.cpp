// The config reader over standard streams, for the tools and tests; kept apart from config_loader.cpp so
// that a program that reads files only does not link the stream library.
#include <istream>

#include "description/config_loader.h"

namespace brennic {

namespace {

class StreamSource final : public ByteSource {
public:
    explicit StreamSource(std::istream& stream) : stream_(stream) {}
    std::size_t read(char* into, std::size_t size) override {
        stream_.read(into, static_cast<std::streamsize>(size));
        return static_cast<std::size_t>(stream_.gcount());
    }

private:
    std::istream& stream_;
};

}  // namespace

std::uint64_t configFileSize(std::istream& stream) {
    stream.seekg(0, std::ios::end);
    const std::streamoff end = stream.tellg();
    stream.seekg(0, std::ios::beg);
    return end < 0 ? 0 : static_cast<std::uint64_t>(end);
}

void loadDescription(ProgramDescription& d, std::istream& stream, errorVX& error) {
    StreamSource source(stream);
    loadDescription(d, source, error);
}

}  // namespace brennic
