#include <iostream>

#include "command.h"
#include "document_files.h"
#include "model/catalogue_report.h"
#include "model/cio_project.h"

namespace pinsum::cli {
namespace {

int Show(const std::vector<std::string>& arguments) {
    std::cout << ProjectReport(*LoadPlannerProject(arguments[0]));
    return kExitOk;
}

} // namespace

const std::vector<Command>& PlanCommands() {
    static const std::vector<Command> commands = {
        {"plan", "show", "FILE", "Shows a planner file: request, series and solutions.", 1, Show},
    };
    return commands;
}

} // namespace pinsum::cli
