#include <iostream>

#include "bill_files.h"
#include "catalogue_report.h"
#include "command.h"
#include "command_options.h"
#include "document_files.h"
#include "model/cio_project.h"
#include "solution_formats.h"
#include "solver/solution_report.h"
#include "translation.h"

namespace pinsum::cli {
namespace {

constexpr const char* kShowArguments =
    "FILE [--format text|json|csv|xlsx|pdf] [--output FILE] [--solution N|all]";

// The summary, then the saved solutions as `solve` prints them, in the format asked for.
int Show(const std::vector<std::string>& arguments) {
    std::optional<std::string> format;
    std::optional<std::string> solution;
    std::optional<std::string> output;
    const std::vector<std::string> files = ReadOptions(
        arguments, {{"--format", &format}, {"--solution", &solution}, {"--output", &output}}, true);
    if (files.size() != 1)
        throw CliError(Tr("usage: pinsum ") + std::string("plan show ") + kShowArguments);
    const OutputFormat chosenFormat = ParseOutputFormat(format);
    const SolutionChoice choice = ParseSolutionChoice(solution, chosenFormat);
    CheckOutput(chosenFormat, output);
    const std::unique_ptr<CioProject> project = LoadPlannerProject(files[0]);
    switch (chosenFormat) {
    case OutputFormat::Text:
        std::cout << ProjectReport(*project) << '\n'
                  << Tr("Solution report") << '\n'
                  << SolutionsReport(*project);
        break;
    case OutputFormat::Json:
        std::cout << SolutionsJson(*project, std::nullopt);
        break;
    case OutputFormat::Csv:
        std::cout << BillOfMaterialsCsv(*project, choice);
        break;
    case OutputFormat::Xlsx:
    case OutputFormat::Pdf:
        WriteBillFile(*project, chosenFormat, choice, *output);
        break;
    }
    return kExitOk;
}

} // namespace

const std::vector<Command>& PlanCommands() {
    static const std::vector<Command> commands = {
        {"plan", "show", kShowArguments,
         N_("Shows a planner file: request, series and solutions with their report."),
         kOwnArguments, Show,
         N_("  --format FORMAT      text (default), json, csv or xlsx (bill of materials) or pdf\n"
            "                       (quotation)\n"
            "  --output FILE        the file of --format xlsx or pdf\n"
            "  --solution N|all     the solution the bill or quotation lists (default 1)\n")},
    };
    return commands;
}

} // namespace pinsum::cli
