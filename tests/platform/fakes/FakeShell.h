// A shell that records the targets it is asked to open.
#pragma once

#include <string>
#include <vector>

#include "platform/Shell.h"

namespace korvane::platform::fakes {

class FakeShell final : public Shell {
public:
    bool Open(const std::string& target) override
    {
        opened.push_back(target);
        return succeeds;
    }

    std::vector<std::string> opened;
    bool succeeds = true;
};

}  // namespace korvane::platform::fakes
