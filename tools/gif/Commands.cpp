#include "tools/gif/Commands.h"

#include <filesystem>
#include <system_error>

#include "imaging/gif/cGIF.h"
#include "tools/support/GifInput.h"
#include "tools/support/ToolFiles.h"

namespace korvane::tools {

void LoadGif(const std::string& file, imaging::cGIF& gif)
{
    if (!gif.LoadFromStream(ReadGifBytes(file).span())) throw FileError(DisplayName(file, false), "cannot be loaded");
}

void MakeOutputFolder(const std::string& dir)
{
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) throw FileError(dir, ec.message());
    if (!std::filesystem::is_directory(dir))
        throw FileError(dir, std::make_error_code(std::errc::not_a_directory).message());
}

}  // namespace korvane::tools
