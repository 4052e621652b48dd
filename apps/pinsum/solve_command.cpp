#include <algorithm>
#include <charconv>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <utility>

#include "command.h"
#include "console_search.h"
#include "exact/exact_solver.h"
#include "host/file_io.h"
#include "host/input_quote.h"
#include "host/program_folders.h"
#include "host/text_codec.h"
#include "model/archive.h"
#include "model/catalogue_file.h"
#include "model/cio_project.h"
#include "solver/search_level.h"
#include "solver/search_request.h"
#include "solver/solution_report.h"
#include "stderr_messenger.h"

namespace pinsum::cli {
namespace {

constexpr const char* kArguments =
    "[--catalogue FILE] --request REQUEST.json [--level N] [--save FILE] [--exact | --exact-only]";
constexpr const char* kDefaultCatalogue = "iodb.pp";

struct SolveOptions {
    std::optional<std::string> catalogue;
    std::optional<std::string> request;
    std::optional<std::string> level;
    std::optional<std::string> save;
    // The proven cheapest configuration first, or alone.
    bool exact = false;
    bool exactOnly = false;
};

constexpr std::pair<const char*, std::optional<std::string> SolveOptions::*> kOptions[] = {
    {"--catalogue", &SolveOptions::catalogue},
    {"--request", &SolveOptions::request},
    {"--level", &SolveOptions::level},
    {"--save", &SolveOptions::save},
};

SolveOptions ParseOptions(const std::vector<std::string>& arguments) {
    SolveOptions options;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        if (word == "--exact" || word == "--exact-only") {
            if (options.exact)
                throw CliError("give --exact or --exact-only once");
            options.exact = true;
            options.exactOnly = word == "--exact-only";
            continue;
        }
        const auto option = std::find_if(std::begin(kOptions), std::end(kOptions),
                                         [&](const auto& o) { return word == o.first; });
        if (option == std::end(kOptions))
            throw CliError(word.size() > 1 && word[0] == '-'
                               ? "unknown option " + QuoteInput(word)
                               : "unexpected argument " + QuoteInput(word));
        if (i + 1 == arguments.size())
            throw CliError("option '" + word + "' needs a value");
        options.*(option->second) = arguments[++i];
    }
    if (!options.request)
        throw CliError(std::string("usage: pinsum solve ") + kArguments);
    return options;
}

// A level outside the slider's range is bad input, whether the option or the request gives it:
// a search at another level than asked for would answer a question nobody put.
bool InRange(int64_t level) {
    return level >= kMinSearchLevel && level <= kMaxSearchLevel;
}

std::string RangeText() {
    return "expected an integer from " + std::to_string(kMinSearchLevel) + " to " +
           std::to_string(kMaxSearchLevel);
}

int ParseLevel(const std::string& text) {
    int64_t level = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), level);
    const bool tooLarge = error == std::errc::result_out_of_range;
    if ((error != std::errc() && !tooLarge) || end != text.data() + text.size())
        throw CliError("--level: expected an integer, not " + QuoteInput(text));
    if (tooLarge || !InRange(level))
        throw CliError("--level: " + RangeText() + ", not " + QuoteInput(text));
    return static_cast<int>(level);
}

// The option wins over the request file, whose level is then not used.
int SearchLevelFor(const SolveOptions& options, const SearchRequest& request) {
    if (options.level)
        return ParseLevel(*options.level);
    const int64_t level = request.level.value_or(kMinSearchLevel);
    if (!InRange(level))
        throw CliError(*options.request + ": level: " + RangeText());
    return static_cast<int>(level);
}

SearchRequest ReadRequest(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadFileBytes(path);
    try {
        return ParseSearchRequest(
            std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    } catch (const RequestError& e) {
        throw CliError(path + ": " + e.what());
    }
}

// A catalogue given on the command line is taken as it is; only the default one is looked for in
// the data folders.
std::string CataloguePath(const std::optional<std::string>& given) {
    if (given) {
        std::error_code error;
        if (!std::filesystem::is_regular_file(*given, error))
            throw CliError(*given + ": no such catalogue file");
        return std::filesystem::absolute(*given).string();
    }
    const std::optional<std::string> found = FindDataFile(kDefaultCatalogue);
    if (!found)
        throw CliError(std::string(kDefaultCatalogue) + " not found in the program folder " +
                       ProgramFolder() + " or its PROJECT folder (give --catalogue FILE)");
    return *found;
}

std::unique_ptr<CioProject> LoadProject(const std::optional<std::string>& catalogue) {
    const std::string path = CataloguePath(catalogue);
    const std::string& shown = catalogue ? *catalogue : path;
    auto project = std::make_unique<CioProject>();
    StderrMessenger messenger;
    std::string error;
    if (!project->LoadDatabase(&path, &messenger, nullptr, &error))
        throw CliError(error.find(path) != std::string::npos ? error : shown + ": " + error);
    if (project->database == nullptr)
        throw CliError(shown + ": no catalogue database in the file");
    return project;
}

// The messages first, then the solutions; the search refused the request when it stopped it
// with a stop icon.
int PrintOutcome(const SearchOutcome& outcome, const CioProject& project) {
    bool refused = false;
    for (const ShownMessage& message : outcome.messages) {
        std::cout << Cp1250ToUtf8(message.text) << '\n';
        refused = refused || message.icon == MessageIcon::Stop;
    }
    if (outcome.cancelled)
        std::cerr << (outcome.messages.empty()
                          ? "pinsum: cancelled before any solution was finished\n"
                          : "pinsum: cancelled; the solutions finished so far follow\n");
    else if (project.RanOutOfMemory())
        std::cerr << "pinsum: the search stopped when its unfinished solutions outgrew "
                  << (project.maxWorkingBytes >> 20) << " MB; "
                  << (outcome.messages.empty() ? "none was finished\n"
                                               : "the solutions finished so far follow\n");
    std::cout << SolutionsReport(project);
    return refused ? kExitRefused : kExitOk;
}

int Solve(const std::vector<std::string>& arguments) {
    const SolveOptions options = ParseOptions(arguments);
    const SearchRequest request = ReadRequest(*options.request);
    const int level = SearchLevelFor(options, request);
    const std::unique_ptr<CioProject> project = LoadProject(options.catalogue);
    try {
        ApplySearchRequest(request, *project);
    } catch (const RequestError& e) {
        throw CliError(*options.request + ": " + e.what());
    }
    CbcExactStep exact;
    const SearchOutcome outcome =
        RunSearch(*project, level, options.exact ? &exact : nullptr, options.exactOnly);
    const int status = PrintOutcome(outcome, *project);
    std::cout.flush();
    if (options.save)
        SavePlannerFile(*options.save, *project);
    return status;
}

} // namespace

const std::vector<Command>& SolveCommands() {
    static const std::vector<Command> commands = {
        {"solve", "", kArguments,
         "Searches the catalogue for the solutions of a request and prints them.", kOwnArguments,
         Solve},
    };
    return commands;
}

} // namespace pinsum::cli
