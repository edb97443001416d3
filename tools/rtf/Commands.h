// kvelo-rtf: a small table of sub-commands over the RTF engine. Each command
// gets its arguments (after the command name) and returns the exit code.
#pragma once

#include "rtfengine/model/Document.h"

#include <string>
#include <vector>

namespace kvelo::rtftool {

struct TCommand {
    std::string Name;
    std::string Usage; // arguments, e.g. "FILE"
    std::string Help;  // one line
    int (*Run)(const std::vector<std::string>& args);
};

void RegisterCommand(TCommand command);
const std::vector<TCommand>& Commands();

// Reads FILE ("-" = standard input) into `document`. On a reader or file
// error prints the message to stderr and returns false.
bool LoadDocument(const std::string& name, TSectionList& document);

// The core commands: text, roundtrip.
void RegisterCoreCommands();
// The GUI build adds "render" (Render.cpp).
void RegisterRenderCommand();

} // namespace kvelo::rtftool
