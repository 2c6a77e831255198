#include "app/mFileFound.h"

namespace korvane::app {

bool FileExists(const platform::FileSystem& files, const std::string& path)
{
    return files.Matches(path);
}

}  // namespace korvane::app
