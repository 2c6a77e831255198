// Small routines of the application: the branding record's text decoding,
// folder paths and opening links.
#pragma once

#include <string>
#include <string_view>

#include "platform/Shell.h"

namespace korvane::app {

// Decodes a stored string byte by byte: its first three bytes and its last
// are the key, each body byte less the cyclic key byte is the plain byte.
// Empty on any failure (fewer than three bytes, a difference below 0).
std::string DecodeText(std::string_view stored);

// Appends "\" unless the path already ends with one; returns the path.
std::string& AddBackslash(std::string& path);

// Asks the shell to open `Target` with its "Open" verb. A target the shell
// cannot open (an empty one, one with no program for it) is ignored.
void OpenLink(platform::Shell& shell, const std::string& Target);

}  // namespace korvane::app
