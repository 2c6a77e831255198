// korvane-gif: inspects, unpacks and rewrites GIF files with the program's
// own GIF engine.
#include <CLI/CLI.hpp>

#include "tools/gif/Commands.h"
#include "tools/support/ToolMain.h"

namespace {

constexpr const char* kHelp = R"(Usage: korvane-gif COMMAND [OPTIONS] ARGS...
Inspect, unpack and rewrite GIF files with Korvane's own GIF engine.

Commands:
  info FILE... [--json]
                      Load each FILE and print the logical screen, the loop
                      count, the global palette and every frame slot; a
                      report a file, separated by a blank line.
  frames FILE DIR     Write each frame n (001, 002, ...) into DIR as
                      n.index.pgm (palette indices as grey levels),
                      n.mask.pbm (transparency mask, 1 where transparent) and
                      n.ppm (the pixels through the frame's colour table).
  resave IN OUT       Load IN and save it as OUT. A file OUT is replaced
                      atomically and keeps its permissions; a link is
                      followed; a pipe or terminal is written directly.
  render FILE DIR [--ticks N] [--back-colour RRGGBB]
                      Play FILE through the GIF viewer's playback engine for
                      N ticks (default: one pass over the frames). After each
                      tick n (001, 002, ...) write the composed canvas, at the
                      logical screen size, as n.canvas.ppm into DIR and print
                      "tick n: frame f, i ms" (the frame composed and the
                      interval its delay set). The back colour defaults to the
                      viewer's own, the button face.

A FILE or IN of "-" is standard input; an OUT of "-" is standard output.
Options may come anywhere on the line.

Options:
  -h, --help          Show this text and exit.
  --version           Show the version and exit.

Exit status: 0 done; 1 a file could not be read, loaded or written (each
such file is named on standard error in one line, with the reason, and
prints nothing on standard output); 2 usage error.

JSON of info --json: one object, or an array of them for several files:
  file                  the path given
  loaded                true (a file that does not load has no report)
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

int Run(int argc, char** argv)
{
    using namespace korvane::tools;
    CLI::App app("Inspect, unpack and rewrite GIF files", "korvane-gif");
    app.require_subcommand(1, 1);

    InfoOptions info;
    CLI::App* infoCommand = app.add_subcommand("info", "print a GIF's fields");
    infoCommand->add_option("FILE", info.files)->required();
    infoCommand->add_flag("--json", info.json);

    FramesOptions frames;
    CLI::App* framesCommand = app.add_subcommand("frames", "write each frame as netpbm files");
    framesCommand->add_option("FILE", frames.file)->required();
    framesCommand->add_option("DIR", frames.dir)->required();

    ResaveOptions resave;
    CLI::App* resaveCommand = app.add_subcommand("resave", "load and save a GIF");
    resaveCommand->add_option("IN", resave.in)->required();
    resaveCommand->add_option("OUT", resave.out)->required();

    RenderOptions render;
    CLI::App* renderCommand = app.add_subcommand("render", "play a GIF tick by tick");
    renderCommand->add_option("FILE", render.file)->required();
    renderCommand->add_option("DIR", render.dir)->required();
    renderCommand->add_option("--ticks", render.ticks)
        ->check(CLI::Validator(
            [](const std::string& text) {
                long n = 0;
                return CLI::detail::lexical_cast(text, n) && n >= 1 ? std::string()
                                                                    : "wants a whole number of at least 1";
            },
            "N"));
    renderCommand->add_option("--back-colour", render.backColour);

    return RunToolMain(app, kHelp, argc, argv, [&] {
        if (infoCommand->parsed()) return RunInfo(info);
        if (framesCommand->parsed()) return RunFrames(frames);
        if (resaveCommand->parsed()) return RunResave(resave);
        return RunRender(render);
    });
}

}  // namespace

int main(int argc, char** argv)
{
    return korvane::tools::GuardedMain("korvane-gif", [&] { return Run(argc, argv); });
}
