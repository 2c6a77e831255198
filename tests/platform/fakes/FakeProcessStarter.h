// A process starter that records the paths it is asked to start.
#pragma once

#include <string>
#include <vector>

#include "platform/ProcessStarter.h"

namespace korvane::platform::fakes {

class FakeProcessStarter final : public ProcessStarter {
public:
    bool Start(const std::string& path) override
    {
        started.push_back(path);
        return succeeds;
    }

    std::vector<std::string> started;
    bool succeeds = true;
};

}  // namespace korvane::platform::fakes
