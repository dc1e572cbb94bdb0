// brennic-demo entry: print the record block, append it to $BRENNIC_DEMO_RECORD when set.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "demo_record.h"

int main(int argc, char** argv) {
    using namespace brennic::demo;
    const std::string record = formatRecord(currentInvocation(argc, argv));
    std::fwrite(record.data(), 1, record.size(), stdout);
    std::fflush(stdout);

    int status = exitStatusFrom(std::getenv("BRENNIC_DEMO_EXIT"));
    if (const char* path = std::getenv("BRENNIC_DEMO_RECORD"); path != nullptr && *path != '\0') {
        std::FILE* file = std::fopen(path, "ab");
        bool written = file != nullptr && std::fwrite(record.data(), 1, record.size(), file) == record.size();
        if (file != nullptr && std::fclose(file) != 0) written = false;
        if (!written) {
            std::fprintf(stderr, "brennic-demo: cannot append to %s\n", path);
            if (status == 0) status = 3;
        }
    }
    return status;
}
