#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "command.h"
#include "host/input_quote.h"
#include "host/program_folders.h"
#include "host/version.h"
#include "translation.h"

namespace pinsum::cli {
namespace {

std::vector<Command> AllCommands() {
    std::vector<Command> all = SolveCommands();
    for (const std::vector<Command>* group : {&RequestCommands(), &CatalogueCommands(),
                                              &PlanCommands(), &UpdateCommands(), &HelpCommands()})
        all.insert(all.end(), group->begin(), group->end());
    return all;
}

std::string CommandWords(const Command& command) {
    return std::string(command.group) + (*command.name != '\0' ? " " : "") + command.name;
}

bool Matches(const Command& command, const std::vector<std::string>& words) {
    if (words[0] != command.group)
        return false;
    return *command.name == '\0' || (words.size() >= 2 && words[1] == command.name);
}

void UsageLine(std::ostream& out, const std::string& synopsis, const char* summary) {
    constexpr size_t kColumn = 40;
    out << "  " << synopsis;
    if (synopsis.size() < kColumn)
        out << std::string(kColumn - synopsis.size(), ' ');
    else
        out << '\n' << std::string(kColumn + 2, ' ');
    out << summary << '\n';
}

void PrintUsage(std::ostream& out) {
    out << Tr("Usage: pinsum COMMAND ARGUMENTS...\n\nCommands:\n");
    for (const Command& command : AllCommands())
        UsageLine(out, "pinsum " + CommandWords(command) + " " + command.arguments,
                  Tr(command.summary));
    UsageLine(out, "pinsum --version", Tr("Prints the calculator's version."));
    UsageLine(out, "pinsum help", Tr("Prints this text."));
}

void PrintCommandHelp(std::ostream& out, const Command& command) {
    out << Tr("Usage:") << " pinsum " << CommandWords(command) << " " << command.arguments << "\n\n"
        << Tr(command.summary) << '\n';
    if (command.options != nullptr)
        out << '\n' << Tr("Options:") << '\n' << Tr(command.options);
}

const Command& FindCommand(const std::vector<std::string>& words) {
    static const std::vector<Command> commands = AllCommands();
    for (const Command& command : commands)
        if (Matches(command, words))
            return command;
    std::string typed = words[0] + (words.size() >= 2 ? " " + words[1] : "");
    throw CliError(Tr("unknown command ") + QuoteInput(typed) + Tr(" (see 'pinsum help')"));
}

int RunCommand(const std::vector<std::string>& words) {
    const Command& command = FindCommand(words);
    const size_t commandWords = *command.name != '\0' ? 2 : 1;
    const std::vector<std::string> arguments(words.begin() + commandWords, words.end());
    if (std::find(arguments.begin(), arguments.end(), "--help") != arguments.end()) {
        PrintCommandHelp(std::cout, command);
        return kExitOk;
    }
    if (command.argumentCount == kOwnArguments)
        return command.run(arguments);
    for (const std::string& argument : arguments)
        if (argument.size() > 1 && argument[0] == '-')
            throw CliError(Tr("unknown option ") + QuoteInput(argument));
    if (arguments.size() != command.argumentCount)
        throw CliError(Tr("usage: pinsum ") + CommandWords(command) + " " + command.arguments);
    return command.run(arguments);
}

int Run(const std::vector<std::string>& words) {
    if (words.empty())
        throw CliError(Tr("no command given (see 'pinsum help')"));
    if ((words[0] == "help" && words.size() == 1) || words[0] == "--help" || words[0] == "-h") {
        PrintUsage(std::cout);
        return kExitOk;
    }
    if (words[0] == "--version") {
        std::cout << GetCalculatorVersion() << '\n';
        return kExitOk;
    }
    return RunCommand(words);
}

// The program folder is the folder of the executable itself, wherever it was started from.
std::string ExecutablePath(const char* argv0) {
    std::error_code error;
    const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string(argv0 != nullptr ? argv0 : "") : path.string();
}

// Whether standard output is a pipe that nobody reads any more; an earlier write may have met the
// closed pipe, leaving nothing for the last flush to fail on.
bool ReaderGone() {
    pollfd out{STDOUT_FILENO, POLLOUT, 0};
    return poll(&out, 1, 0) == 1 && (out.revents & POLLERR) != 0;
}

// What a command printed sits partly in the C library's buffer (std::cout writes through it), so
// a full disk or a closed pipe shows for certain only when that is flushed, after the command.
// A reader that went away ends the program as SIGPIPE ends other tools, quietly; any other failed
// write makes the printed result incomplete, which is said once.
int FinishOutput(int status) {
    std::cout.flush();
    errno = 0;
    const bool flushed = std::fflush(stdout) == 0;
    const int error = errno;
    if (flushed && std::ferror(stdout) == 0 && std::cout.good())
        return status;
    if (error == EPIPE || ReaderGone()) {
        std::signal(SIGPIPE, SIG_DFL);
        std::raise(SIGPIPE);
        return 128 + SIGPIPE;
    }
    std::cerr << "pinsum: " << Tr("cannot write to standard output")
              << (!flushed && error != 0 ? std::string(": ") + std::strerror(error) : "") << '\n';
    return kExitOutputFailed;
}

} // namespace
} // namespace pinsum::cli

int main(int argc, char** argv) {
    using namespace pinsum::cli;
    // A closed pipe becomes a failed write instead of killing the program mid-command, so that a
    // command still finishes what it does besides printing (saving, installing) first.
    std::signal(SIGPIPE, SIG_IGN);
    try {
        pinsum::InitGlobalsFromExecutable(ExecutablePath(argc > 0 ? argv[0] : nullptr));
        InitTranslation(pinsum::ProgramFolder());
        return FinishOutput(Run(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc)));
    } catch (const std::exception& e) {
        // One line, whatever the message quotes: a file name, a server's answer.
        std::cerr << "pinsum: " << pinsum::ShowControls(e.what()) << '\n';
        return kExitBadInput;
    }
}
