// Pictures by path, prepared by the test; other paths load nothing.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/PictureLoader.h"

namespace korvane::platform::fakes {

class FakePictureLoader final : public PictureLoader {
public:
    gdi::StdPicture LoadPicture(const std::string& path) override
    {
        requested.push_back(path);
        const auto found = pictures.find(path);
        return found == pictures.end() ? gdi::StdPicture{} : found->second;
    }

    std::map<std::string, gdi::StdPicture> pictures;
    std::vector<std::string> requested;
};

}  // namespace korvane::platform::fakes
