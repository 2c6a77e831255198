#include "app/mStartup.h"

namespace korvane::app {

std::unique_ptr<fMain> Main(const platform::Services& services)
{
    auto window = std::make_unique<fMain>(services);
    window->show();
    return window;
}

}  // namespace korvane::app
