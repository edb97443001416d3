// kvelo-rtf COMMAND FILE: command-line access to the RTF engine. FILE "-"
// reads standard input.
#include "Commands.h"

#include <iostream>

using namespace kvelo::rtftool;

namespace {

int Usage() {
    std::cerr << "usage: kvelo-rtf COMMAND ARGS  (FILE \"-\" reads standard input)\n";
    for (const TCommand& c : Commands())
        std::cerr << "  kvelo-rtf " << c.Name << ' ' << c.Usage << "  " << c.Help << '\n';
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    RegisterCoreCommands();
#ifdef KVELO_RTF_RENDER
    RegisterRenderCommand();
#endif
    if (argc < 3) return Usage();
    const std::string name = argv[1];
    for (const TCommand& command : Commands())
        if (command.Name == name)
            return command.Run(std::vector<std::string>(argv + 2, argv + argc));
    return Usage();
}
