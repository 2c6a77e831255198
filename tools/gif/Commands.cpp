#include "tools/gif/Commands.h"

namespace korvane::tools {

void RequireArgumentCount(const Arguments& args, std::size_t least, std::size_t most, const char* usage)
{
    if (args.size() < least || args.size() > most) throw CommandError(std::string("usage: korvane-gif ") + usage);
}

}  // namespace korvane::tools
