// A recording fake of the launcher that Start hands its runs to.
#pragma once

#include <vector>

#include "launch/launcher.h"

namespace brennic::test {

class FakeLauncher : public ProgramLauncher {
public:
    std::vector<StartedRun> runs;
    std::vector<ShellRequest> requests;  // the runs' requests, in order
    LaunchResult result{true, {}};

    LaunchResult launch(const StartedRun& run) override {
        runs.push_back(run);
        requests.push_back(run.request);
        return result;
    }
};

}  // namespace brennic::test
