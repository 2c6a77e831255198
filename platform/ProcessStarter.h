// Starting another program by its path, without waiting for it.
#pragma once

#include <string>

namespace korvane::platform {

class ProcessStarter {
public:
    virtual ~ProcessStarter() = default;
    // Starts the program at `path` ("\" or "/" separators) with its window
    // shown normally; false when it could not be started.
    virtual bool Start(const std::string& path) = 0;
};

}  // namespace korvane::platform
