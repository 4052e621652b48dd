#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

namespace pinsum::cli {

constexpr int kExitOk = 0;
// Bad arguments or bad input: an unreadable or damaged file, bad JSON.
constexpr int kExitBadInput = 2;

// Reported as one line on stderr with the exit status kExitBadInput.
class CliError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One "pinsum GROUP NAME ARGUMENTS..." command; it takes exactly argumentCount arguments.
struct Command {
    const char* group;
    const char* name;
    const char* arguments;
    const char* summary;
    size_t argumentCount;
    int (*run)(const std::vector<std::string>& arguments);
};

const std::vector<Command>& CatalogueCommands();
const std::vector<Command>& PlanCommands();

} // namespace pinsum::cli
