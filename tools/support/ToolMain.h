// The frame of a tool's main: parses the command line with CLI11, runs the
// command, and turns what went wrong into one line on standard error and the
// exit status every Unix tool uses: 0 done, 1 a file failed, 2 usage.
#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <stdexcept>
#include <string>

namespace korvane::tools {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// A command line that makes no sense, found after parsing.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Parses argv into `app` (whose --help prints `help`), then runs `command`,
// which returns the exit status. Exceptions become one line on stderr.
int RunToolMain(CLI::App& app, const std::string& help, int argc, char** argv, const std::function<int()>& command);

// Runs `body`, the whole of a tool's main, so that nothing escapes main: what
// it throws before RunToolMain takes over (out of memory while the command
// line is declared) becomes one line on stderr and exit status 1.
int GuardedMain(const char* tool, const std::function<int()>& body) noexcept;

}  // namespace korvane::tools
