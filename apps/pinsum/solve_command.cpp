#include <charconv>
#include <iostream>
#include <optional>
#include <string>

#include "bill_files.h"
#include "command.h"
#include "command_options.h"
#include "console_search.h"
#include "document_files.h"
#include "exact/exact_solver.h"
#include "host/file_io.h"
#include "host/input_quote.h"
#include "host/message_language.h"
#include "host/program_texts.h"
#include "host/text_codec.h"
#include "model/catalogue_file.h"
#include "model/cio_project.h"
#include "solution_formats.h"
#include "solver/search_level.h"
#include "solver/search_request.h"
#include "solver/solution_report.h"
#include "translation.h"
#include "unicode_names.h"

namespace pinsum::cli {
namespace {

constexpr const char* kArguments =
    "[--catalogue FILE] --request REQUEST.json [--level N] [--save FILE] "
    "[--format text|json|csv|xlsx|pdf] [--output FILE] [--solution N|all] [--exact | --exact-only]";

struct SolveOptions {
    std::optional<std::string> catalogue;
    std::optional<std::string> request;
    std::optional<std::string> level;
    std::optional<std::string> save;
    std::optional<std::string> format;
    std::optional<std::string> solution;
    std::optional<std::string> output;
    // The proven cheapest configuration first, or alone.
    bool exact = false;
    bool exactOnly = false;
};

SolveOptions ParseOptions(const std::vector<std::string>& arguments) {
    SolveOptions options;
    std::vector<std::string> valued;
    for (const std::string& word : arguments) {
        if (word != "--exact" && word != "--exact-only") {
            valued.push_back(word);
            continue;
        }
        if (options.exact)
            throw CliError(Tr("give --exact or --exact-only once"));
        options.exact = true;
        options.exactOnly = word == "--exact-only";
    }
    ReadOptions(valued,
                {{"--catalogue", &options.catalogue},
                 {"--request", &options.request},
                 {"--level", &options.level},
                 {"--save", &options.save},
                 {"--format", &options.format},
                 {"--solution", &options.solution},
                 {"--output", &options.output}},
                false);
    if (!options.request)
        throw CliError(Tr("usage: pinsum ") + std::string("solve ") + kArguments);
    return options;
}

// A level outside the slider's range is bad input, whether the option or the request gives it:
// a search at another level than asked for would answer a question nobody put.
bool InRange(int64_t level) {
    return level >= kMinSearchLevel && level <= kMaxSearchLevel;
}

std::string RangeText() {
    return FormatText(Translate("expected an integer from %d to %d"),
                      {kMinSearchLevel, kMaxSearchLevel});
}

int ParseLevel(const std::string& text) {
    int64_t level = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), level);
    const bool tooLarge = error == std::errc::result_out_of_range;
    if ((error != std::errc() && !tooLarge) || end != text.data() + text.size())
        throw CliError("--level: " +
                       FormatText(Tr("expected an integer, not %s"), {QuoteInput(text)}));
    if (tooLarge || !InRange(level))
        throw CliError("--level: " + FormatText(Tr("%s, not %s"), {RangeText(), QuoteInput(text)}));
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
        SearchRequest request = ParseSearchRequest(
            std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        ComposeNames(request);
        return request;
    } catch (const RequestError& e) {
        throw CliError(path + ": " + e.what());
    }
}

std::string MessagesText(const SearchOutcome& outcome) {
    std::string text;
    for (const ShownMessage& message : outcome.messages)
        text += (text.empty() ? "" : "\n") + Cp1250ToUtf8(message.text);
    return text;
}

// The messages first, then the solutions; in CSV the messages go to stderr, so that standard
// output holds the bill alone, as they do when the bill goes to a file. The search refused the
// request when it stopped it with a stop icon.
int PrintOutcome(const SearchOutcome& outcome, const CioProject& project, OutputFormat format,
                 const SolutionChoice& choice, const std::optional<std::string>& output) {
    bool refused = false;
    for (const ShownMessage& message : outcome.messages)
        refused = refused || message.icon == MessageIcon::Stop;
    if (outcome.cancelled)
        std::cerr << (outcome.messages.empty()
                          ? std::string("pinsum: ") +
                                Tr("cancelled before any solution was finished") + "\n"
                          : std::string("pinsum: ") +
                                Tr("cancelled; the solutions finished so far follow") + "\n");
    else if (project.RanOutOfMemory())
        std::cerr << "pinsum: " << Tr("the search stopped when its unfinished solutions outgrew")
                  << ' ' << (project.maxWorkingBytes >> 20) << " MB; "
                  << (outcome.messages.empty() ? Tr("none was finished")
                                               : Tr("the solutions finished so far follow"))
                  << '\n';
    switch (format) {
    case OutputFormat::Text:
        for (const ShownMessage& message : outcome.messages)
            std::cout << ShowControls(Cp1250ToUtf8(message.text)) << '\n';
        std::cout << SolutionsReport(project);
        break;
    case OutputFormat::Json:
        std::cout << SolutionsJson(project, MessagesText(outcome));
        break;
    case OutputFormat::Csv: {
        const std::string bill = BillOfMaterialsCsv(project, choice);
        for (const ShownMessage& message : outcome.messages)
            std::cerr << ShowControls(Cp1250ToUtf8(message.text)) << '\n';
        std::cout << bill;
        break;
    }
    case OutputFormat::Xlsx:
    case OutputFormat::Pdf:
        WriteBillFile(project, format, choice, *output);
        for (const ShownMessage& message : outcome.messages)
            std::cerr << Cp1250ToUtf8(message.text) << '\n';
        break;
    }
    return refused ? kExitRefused : kExitOk;
}

int Solve(const std::vector<std::string>& arguments) {
    const SolveOptions options = ParseOptions(arguments);
    const SearchRequest request = ReadRequest(*options.request);
    const int level = SearchLevelFor(options, request);
    const OutputFormat format = ParseOutputFormat(options.format);
    const SolutionChoice choice = ParseSolutionChoice(options.solution, format);
    CheckOutput(format, options.output);
    const std::unique_ptr<CioProject> project = LoadCalculatorProject(options.catalogue);
    try {
        ApplySearchRequest(request, *project);
    } catch (const RequestError& e) {
        throw CliError(*options.request + ": " + e.what());
    }
    CbcExactStep exact;
    const SearchOutcome outcome =
        RunSearch(*project, level, options.exact ? &exact : nullptr, options.exactOnly);
    int status = PrintOutcome(outcome, *project, format, choice, options.output);
    if (status == kExitOk && options.exactOnly && project->exactOutcome == ExactOutcome::TimedOut)
        status = kExitUnproven;
    std::cout.flush();
    if (options.save)
        SavePlannerFile(*options.save, *project);
    return status;
}

} // namespace

const std::vector<Command>& SolveCommands() {
    static const std::vector<Command> commands = {
        {"solve", "", kArguments,
         N_("Searches the catalogue for the solutions of a request and prints them."),
         kOwnArguments, Solve,
         N_("  --catalogue FILE     the catalogue (default: iodb.pp found beside the program)\n"
            "  --request FILE       the request JSON (see 'pinsum request template')\n"
            "  --level N            the search level 0 to 6, instead of the request's\n"
            "  --save FILE          also writes the calculation as a planner file\n"
            "  --format FORMAT      text (the report, default), json, csv or xlsx (bill of\n"
            "                       materials) or pdf (quotation)\n"
            "  --output FILE        the file of --format xlsx or pdf\n"
            "  --solution N|all     the solution the bill or quotation lists (default 1)\n")},
    };
    return commands;
}

} // namespace pinsum::cli
