#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "host/engine_error.h"

namespace pinsum::cli {

constexpr int kExitOk = 0;
// The search refused the request (nothing requested, nothing to design with).
constexpr int kExitRefused = 1;
// Bad arguments or bad input: an unreadable or damaged file, bad JSON.
constexpr int kExitBadInput = 2;
// solve --exact-only: the time limit passed before the cheapest configuration was proven, so
// nothing is listed.
constexpr int kExitUnproven = 3;
// Standard output could not be written (a full disk, say): what was printed is incomplete.
constexpr int kExitOutputFailed = 1;

// Reported as one line on stderr with the exit status kExitBadInput.
class CliError : public EngineError {
public:
    using EngineError::EngineError;
};

// argumentCount of a command that reads its options and arguments itself.
constexpr size_t kOwnArguments = SIZE_MAX;

// One "pinsum GROUP NAME ARGUMENTS..." command, or "pinsum GROUP ARGUMENTS..." when the name is
// empty; it takes exactly argumentCount arguments, none of them an option, unless it reads them
// itself.
struct Command {
    const char* group;
    const char* name;
    const char* arguments;
    const char* summary;
    size_t argumentCount;
    int (*run)(const std::vector<std::string>& arguments);
    // What `pinsum GROUP NAME --help` says about the options, one per line; none without options.
    const char* options = nullptr;
};

const std::vector<Command>& CatalogueCommands();
const std::vector<Command>& PlanCommands();
const std::vector<Command>& SolveCommands();
const std::vector<Command>& RequestCommands();
const std::vector<Command>& UpdateCommands();
const std::vector<Command>& HelpCommands();

} // namespace pinsum::cli
