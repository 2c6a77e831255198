#include "tools/support/ToolMain.h"

#include <cstdio>
#include <exception>

namespace korvane::tools {

namespace {

int Report(const std::string& tool, const std::string& message, int status)
{
    std::fprintf(stderr, "%s: %s%s\n", tool.c_str(), message.c_str(), status == kExitUsage ? " (try --help)" : "");
    return status;
}

}  // namespace

int RunToolMain(CLI::App& app, const std::string& help, int argc, char** argv, const std::function<int()>& command)
{
    const std::string tool = app.get_name();
    app.set_version_flag("--version", tool + " " + KORVANE_VERSION);
    try {
        // CLI11 reports a misspelt command as a missing one; say what was given.
        if (argc > 1 && argv[1][0] != '-' && !app.get_subcommands({}).empty()) {
            try {
                app.get_subcommand(argv[1]);
            } catch (const CLI::OptionNotFound&) {
                return Report(tool, std::string("unknown command '") + argv[1] + "'", kExitUsage);
            }
        }
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::fputs(help.c_str(), stdout);
        return 0;
    } catch (const CLI::CallForAllHelp&) {
        std::fputs(help.c_str(), stdout);
        return 0;
    } catch (const CLI::CallForVersion& e) {
        std::printf("%s\n", e.what());
        return 0;
    } catch (const CLI::ParseError& e) {
        return Report(tool, e.what(), kExitUsage);
    }
    try {
        return command();
    } catch (const UsageError& e) {
        return Report(tool, e.what(), kExitUsage);
    } catch (const std::exception& e) {
        return Report(tool, e.what(), kExitFailure);
    }
}

int GuardedMain(const char* tool, const std::function<int()>& body) noexcept
{
    try {
        return body();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", tool, e.what());
    } catch (...) {
        std::fprintf(stderr, "%s: an unknown failure\n", tool);
    }
    return kExitFailure;
}

}  // namespace korvane::tools
