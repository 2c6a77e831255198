// The subcommands of korvane-gif. Each takes the arguments after its name,
// writes its output to stdout and returns the exit status; a failure is
// reported by throwing CommandError, which main prints as one line.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace korvane::tools {

using Arguments = std::vector<std::string>;

class CommandError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

int RunInfo(const Arguments& args);
int RunFrames(const Arguments& args);
int RunResave(const Arguments& args);
int RunRender(const Arguments& args);

// Throws CommandError unless args holds between `least` and `most` entries.
void RequireArgumentCount(const Arguments& args, std::size_t least, std::size_t most, const char* usage);

}  // namespace korvane::tools
