// Loading picture files into the program's picture objects.
#pragma once

#include <string>

#include "platform/gdi/gdi.h"

namespace korvane::platform {

class PictureLoader {
public:
    virtual ~PictureLoader() = default;
    // The picture in `path` ("\" or "/" separators), empty when the file is
    // missing or holds no picture the loader reads.
    virtual gdi::StdPicture LoadPicture(const std::string& path) = 0;
};

}  // namespace korvane::platform
