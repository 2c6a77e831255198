// Picture files through QImageReader, turned into the graphics layer's
// picture objects: opaque images become 32-bit bitmap pictures, images with
// transparency icon pictures that keep their alpha.
#pragma once

#include "platform/PictureLoader.h"

namespace korvane::platform::qt {

class QtPictureLoader final : public PictureLoader {
public:
    gdi::StdPicture LoadPicture(const std::string& path) override;
};

}  // namespace korvane::platform::qt
