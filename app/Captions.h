// Label captions mark an access key with "&" and write a literal ampersand
// as "&&"; labels here have no access keys, so only the text is shown.
#pragma once

#include <string>
#include <string_view>

namespace korvane::app {

// The text a label shows for `caption`: "&&" becomes "&", a single "&" goes.
std::string ShownCaption(std::string_view caption);

// The window title that shows `caption` as given: the toolkit reads "[*]" in
// a title as the place of its modified mark and shows "[*][*]" as "[*]".
std::string WindowTitle(std::string_view caption);

}  // namespace korvane::app
