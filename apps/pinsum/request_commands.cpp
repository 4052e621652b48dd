#include <iostream>

#include <nlohmann/json.hpp>

#include "command.h"
#include "command_options.h"
#include "document_files.h"
#include "host/text_codec.h"
#include "model/cio_node.h"
#include "model/cio_project.h"
#include "translation.h"

namespace pinsum::cli {
namespace {

using Json = nlohmann::ordered_json;

// A request naming everything the catalogue offers, so that the user only edits numbers: every IO
// kind at 0, terminal kinds included, and the series offered by default. No terminal kind is
// enabled, as in the calculator at start: an enabled one keeps only the controllers that offer it.
Json RequestTemplate(const CioProject& project) {
    Json counts = Json::object();
    for (const auto& child : project.requestList.children) {
        const auto* item = dynamic_cast<const CioNode*>(child.get());
        if (item == nullptr || item->Kind() == nullptr)
            continue;
        counts[Cp1250ToUtf8(item->Kind()->name)] = 0;
    }
    Json series = Json::array();
    for (const CioType* entry : project.seriesSelection.entries)
        if (entry != nullptr && (entry->flags & FLAG_DEFAULT) != 0)
            series.push_back(Cp1250ToUtf8(entry->name));
    return {{"level", 0},
            {"counts", std::move(counts)},
            {"terminals_enabled", Json::array()},
            {"series", std::move(series)},
            {"unchecked_devices", Json::array()}};
}

int Template(const std::vector<std::string>& arguments) {
    std::optional<std::string> catalogue;
    ReadOptions(arguments, {{"--catalogue", &catalogue}}, false);
    std::cout << RequestTemplate(*LoadCalculatorProject(catalogue)).dump(2) << '\n';
    return kExitOk;
}

} // namespace

const std::vector<Command>& RequestCommands() {
    static const std::vector<Command> commands = {
        {"request", "template", "[--catalogue FILE]",
         N_("Prints a request naming every IO kind and the default series, to edit."),
         kOwnArguments, Template,
         N_("  --catalogue FILE     the catalogue (default: iodb.pp found beside the program)\n")},
    };
    return commands;
}

} // namespace pinsum::cli
