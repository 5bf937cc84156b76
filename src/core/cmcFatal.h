#pragma once
// Fatal configuration and programming errors: a missing overlay key, an unknown cell name, an image
// address out of bounds. They end the program without saving; the handler decides how the user sees it.
#include <functional>
#include <string>

// Receives the message text and the caption (the program file's name without its directory).
using cmcFatalHandler = std::function<void(const std::string& text, const std::string& caption)>;

// Replaces the handler and returns the previous one. The default prints "caption: text" to standard
// error and exits with status 70. A handler that returns is followed by std::abort().
cmcFatalHandler cmcSetFatalHandler(cmcFatalHandler handler);

// Reports a fatal error and ends the process (or throws, if the installed handler throws).
[[noreturn]] void cmcFatal(const std::string& text);

// The program file's name without its directory, as used in the caption of fatal errors.
std::string cmcProgramName();
