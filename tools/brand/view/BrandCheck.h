// What a distributor should know about a branding before it ships, found
// with the program's own code: the record reader and text decoder, the
// picture loader, the GIF engine and the main window itself.
#pragma once

#include <string>
#include <vector>

#include "app/fMain.h"
#include "platform/Services.h"

namespace korvane::brand {

struct Finding {
    std::string field;    // the INI key it is about
    std::string message;  // one line for people
    bool problem = true;  // false: worth knowing, nothing shows broken
};

// `window` is the main window built with `services` (as on first start).
std::vector<Finding> CheckBranding(const platform::Services& services, const app::fMain& window);

}  // namespace korvane::brand
