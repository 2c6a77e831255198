#include "tools/brand/view/BrandPreview.h"

#include "controls/gif_viewer/ucGIFViewer.h"

namespace korvane::brand {

QImage DrawMainWindow(app::fMain& window, int frame)
{
    auto* viewer = window.findChild<controls::ucGIFViewer*>("ucGIF");
    if (viewer != nullptr && viewer->GIFLoaded()) {
        for (int n = 1; n < frame; ++n)
            viewer->NextFrame();
    }
    return window.grab().toImage();
}

}  // namespace korvane::brand
