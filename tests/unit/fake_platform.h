// Recording fakes of the platform interfaces, shared by the unit tests.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace brennic::test {

struct ShownBox {
    std::string text;
    std::string caption;
    unsigned style = 0;
};

class FakeMessageBoxes : public MessageBoxes {
public:
    std::vector<ShownBox> shown;
    std::vector<unsigned> beeps;
    std::deque<int> answers;  // answers given in order; kIdOk when none is queued

    int show(const std::string& text, const std::string& caption, unsigned style) override {
        shown.push_back({text, caption, style});
        if (answers.empty()) return kIdOk;
        int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void beep(unsigned type) override { beeps.push_back(type); }
};

class FakeShell : public Shell {
public:
    std::vector<ShellRequest> requests;
    std::intptr_t result = 42;

    std::intptr_t execute(const ShellRequest& request) override {
        requests.push_back(request);
        return result;
    }
};

}  // namespace brennic::test
