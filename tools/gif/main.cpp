// korvane-gif: inspects, unpacks and rewrites GIF files with the program's
// own GIF engine.
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>

#include "tools/gif/Commands.h"

namespace {

using korvane::tools::Arguments;

struct Command {
    std::string_view name;
    int (*run)(const Arguments&);
};

constexpr Command kCommands[] = {
    {"info", korvane::tools::RunInfo},
    {"frames", korvane::tools::RunFrames},
    {"resave", korvane::tools::RunResave},
    {"render", korvane::tools::RunRender},
};

constexpr const char* kHelp = R"(usage: korvane-gif COMMAND ARGS...

Commands:
  info FILE [--json]  Load FILE and print the load result, the logical screen,
                      the loop count, the global palette and every frame slot.
  frames FILE DIR     Write each frame n (001, 002, ...) into DIR as
                      n.index.pgm (palette indices as grey levels),
                      n.mask.pbm (transparency mask, 1 where transparent) and
                      n.ppm (the pixels through the frame's colour table).
  resave IN OUT       Load IN and save it as OUT.
  render FILE DIR [--ticks N] [--back-colour RRGGBB]
                      Play FILE through the GIF viewer's playback engine for
                      N ticks (default: one pass over the frames). After each
                      tick n (001, 002, ...) write the composed canvas, at the
                      logical screen size, as n.canvas.ppm into DIR and print
                      "tick n: frame f, i ms" (the frame composed and the
                      interval its delay set). The back colour defaults to the
                      viewer's own, the button face.
  --help              Show this text.

Every failure prints one line on stderr and exits with status 1 (info also
exits 1, after its report, when the file does not load).

JSON keys of info --json (one object):
  file                  the path given
  loaded                LoadFromFile's result (true/false)
  screen                {width, height, packed, background, aspect}: the
                        logical screen descriptor; packed and aspect are the
                        raw bytes, background the colour index
  animationLoops        loop count of the NETSCAPE2.0 extension (0 if none)
  globalPalette         {exists, sorted, entries}
  framesCount           number of frames
  slots                 number of frame slots (one more than framesCount when
                        a control extension follows the last image; 1 for an
                        empty document)
  frames                one object per slot, in order:
    slot                  1-based slot number
    left, top             position on the logical screen
    width, height         frame size (null for a slot without surfaces)
    interlaced, useTransparentColor, transparentColorIndex, delay,
    disposalMethod, userInput, localPaletteUsed, localPaletteSorted,
    localPaletteEntries   the slot's fields (delay in 1/100 s)
    palette               the palette in force: its first localPaletteEntries
                          colours as "rrggbb" hex strings
)";

int Dispatch(int argc, char** argv)
{
    if (argc < 2) throw korvane::tools::CommandError("no command given (try --help)");
    const std::string_view name = argv[1];
    if (name == "--help" || name == "-h") {
        std::fputs(kHelp, stdout);
        return 0;
    }
    for (const Command& command : kCommands) {
        if (command.name == name) return command.run(Arguments(argv + 2, argv + argc));
    }
    throw korvane::tools::CommandError("unknown command '" + std::string(name) + "' (try --help)");
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        return Dispatch(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "korvane-gif: %s\n", e.what());
        return 1;
    }
}
