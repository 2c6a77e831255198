#include "app/Captions.h"

namespace korvane::app {

std::string ShownCaption(std::string_view caption)
{
    std::string shown;
    shown.reserve(caption.size());
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] != '&') {
            shown.push_back(caption[i]);
        } else if (i + 1 < caption.size() && caption[i + 1] == '&') {
            shown.push_back('&');
            ++i;
        }
    }
    return shown;
}

std::string WindowTitle(std::string_view caption)
{
    constexpr std::string_view kMark = "[*]";
    std::string title;
    title.reserve(caption.size());
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption.substr(i, kMark.size()) == kMark) {
            title += kMark;
            title += kMark;
            i += kMark.size() - 1;
        } else {
            title.push_back(caption[i]);
        }
    }
    return title;
}

}  // namespace korvane::app
