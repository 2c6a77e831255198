// korvane-gif resave: a load and a save through the program's own engine.
#include "imaging/gif/cGIF.h"
#include "tools/gif/Commands.h"

namespace korvane::tools {

int RunResave(const Arguments& args)
{
    RequireArgumentCount(args, 2, 2, "resave IN OUT");
    imaging::cGIF gif;
    if (!gif.LoadFromFile(args[0])) throw CommandError("cannot load " + args[0] + " as a GIF");
    if (!gif.Save(args[1])) throw CommandError("cannot save " + args[1]);
    return 0;
}

}  // namespace korvane::tools
