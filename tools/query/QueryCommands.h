// The commands of kvelo-query: each answers one question about the catalogue
// of a program folder and prints UTF-8 text (or the raw body bytes).
#pragma once

#include <iosfwd>
#include <stdexcept>
#include <string>
#include <vector>

namespace kvelo {
class Catalogue;
}

namespace kvelo::query {

// A bad argument or an unknown id: printed on stderr, exit code 1.
struct QueryError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct CommandContext {
    Catalogue& catalogue;
    std::vector<std::string> args; // the arguments after the command name
    std::ostream& out;
};

void RunBases(CommandContext& context);
void RunTree(CommandContext& context);
void RunInfo(CommandContext& context);
void RunCat(CommandContext& context);
void RunFind(CommandContext& context);
void RunTypes(CommandContext& context);
void RunOrgans(CommandContext& context);

} // namespace kvelo::query
