#include <iostream>

#include "catalogue_report.h"
#include "command.h"
#include "document_files.h"
#include "model/cio_project.h"
#include "solver/solution_report.h"

namespace pinsum::cli {
namespace {

// The summary, then the saved solutions as `solve` prints them.
int Show(const std::vector<std::string>& arguments) {
    const std::unique_ptr<CioProject> project = LoadPlannerProject(arguments[0]);
    std::cout << ProjectReport(*project) << "\nSolution report\n" << SolutionsReport(*project);
    return kExitOk;
}

} // namespace

const std::vector<Command>& PlanCommands() {
    static const std::vector<Command> commands = {
        {"plan", "show", "FILE",
         "Shows a planner file: request, series and solutions with their report.", 1, Show},
    };
    return commands;
}

} // namespace pinsum::cli
