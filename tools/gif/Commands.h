// The subcommands of korvane-gif. Each returns the exit status; a failure
// throws (tools::FileError names the file), and main prints it as one line.
#pragma once

#include <string>
#include <vector>

namespace korvane::imaging {
class cGIF;
}

namespace korvane::tools {

struct InfoOptions {
    std::vector<std::string> files;
    bool json = false;
};

struct FramesOptions {
    std::string file;
    std::string dir;
};

struct ResaveOptions {
    std::string in;
    std::string out;
};

struct RenderOptions {
    std::string file;
    std::string dir;
    long ticks = 0;          // 0: one pass over the frames
    std::string backColour;  // RRGGBB; empty: the viewer's own
};

int RunInfo(const InfoOptions& options);
int RunFrames(const FramesOptions& options);
int RunResave(const ResaveOptions& options);
int RunRender(const RenderOptions& options);

// Loads `file` into `gif`; throws FileError saying why it cannot.
void LoadGif(const std::string& file, imaging::cGIF& gif);
// Creates DIR (and its parents) for a command's output files.
void MakeOutputFolder(const std::string& dir);

}  // namespace korvane::tools
