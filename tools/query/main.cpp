// kvelo-query [--root DIR] COMMAND ...: opens the catalogue of a program
// folder (default: the executable's folder; bases in DIR/DATA/) without a
// display and answers one command. Exit 0 on success, 1 with a message on
// stderr for a bad argument or an unknown id.
#include "QueryCommands.h"

#include "bases/Catalogue.h"
#include "settings/Settings.h"

#include <cstring>
#include <iostream>
#include <map>
#include <unistd.h>

namespace {

using namespace kvelo::query;

const std::map<std::string, void (*)(CommandContext&)> commands = {
    {"bases", RunBases}, {"tree", RunTree},   {"info", RunInfo},    {"cat", RunCat},
    {"find", RunFind},   {"types", RunTypes}, {"organs", RunOrgans}};

const char* const usage =
    "usage: kvelo-query [--root DIR] bases\n"
    "       kvelo-query [--root DIR] tree [--expand-all] [--json]\n"
    "       kvelo-query [--root DIR] info ID [--json]\n"
    "       kvelo-query [--root DIR] cat ID\n"
    "       kvelo-query [--root DIR] find [--number X | --regnumber X]\n"
    "           [--type CODE]... [--organ CODE]... [--title WORDS [--whole]]\n"
    "           [--text WORDS [--whole]] [--date D | --date FROM TO]\n"
    "           [--valid | --invalid] [--base FILE]... [--json]\n"
    "       kvelo-query [--root DIR] types | organs\n";

std::string executableFolder() {
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return ".";
    const std::string exe(path, size_t(n));
    return exe.substr(0, exe.find_last_of('/'));
}

int run(int argc, char** argv) {
    std::string root = executableFolder();
    int i = 1;
    if (i + 1 < argc && std::strcmp(argv[i], "--root") == 0) {
        root = argv[i + 1];
        i += 2;
    }
    if (i >= argc || !commands.count(argv[i]))
        throw QueryError(i < argc ? std::string("unknown command: ") + argv[i] : "no command");
    const auto command = commands.at(argv[i]);
    kvelo::CreateIniFiles({root, "kvelo-query", "", ""});
    kvelo::Catalogue catalogue(kvelo::CatalogueOptionsFromSettings());
    CommandContext context{catalogue, {argv + i + 1, argv + argc}, std::cout};
    command(context);
    kvelo::FreeIniFiles();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const QueryError& e) {
        std::cerr << "kvelo-query: " << e.what() << '\n' << usage;
    } catch (const std::exception& e) {
        std::cerr << "kvelo-query: " << e.what() << '\n';
    }
    return 1;
}
