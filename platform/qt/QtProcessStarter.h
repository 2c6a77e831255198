// Starting programs with QProcess::startDetached: the program runs on its own
// and its window is shown the way the desktop shows a newly started program.
#pragma once

#include "platform/ProcessStarter.h"

namespace korvane::platform::qt {

class QtProcessStarter final : public ProcessStarter {
public:
    bool Start(const std::string& path) override;
};

}  // namespace korvane::platform::qt
