// Record formatting of brennic-demo.
#include "demo_record.h"

#include <string_view>

namespace brennic::demo {
namespace {

void appendValue(std::string& out, std::string_view key, std::string_view value) {
    out.append(key);
    out.push_back('=');
    for (char c : value) {
        if (c == '\n') {
            out.append("\\x0a");
        } else if (c == '\r') {
            out.append("\\x0d");
        } else {
            out.push_back(c);
        }
    }
    out.push_back('\n');
}

}  // namespace

std::string formatRecord(const Invocation& invocation) {
    std::string out = "run\n";
    appendValue(out, "cmdline", invocation.commandLine);
    appendValue(out, "cwd", invocation.workingDirectory);
    appendValue(out, "argc", std::to_string(invocation.arguments.size()));
    for (std::size_t i = 0; i < invocation.arguments.size(); ++i) {
        appendValue(out, "arg" + std::to_string(i), invocation.arguments[i]);
    }
    out.append("end\n");
    return out;
}

int exitStatusFrom(const char* value) {
    if (value == nullptr || *value == '\0') return 0;
    int status = 0;
    for (const char* p = value; *p != '\0'; ++p) {
        if (*p < '0' || *p > '9') return 0;
        status = status * 10 + (*p - '0');
        if (status > 255) return 0;
    }
    return status;
}

}  // namespace brennic::demo
