#include <iostream>
#include <map>
#include <set>

#include <nlohmann/json.hpp>

#include "command.h"
#include "command_options.h"
#include "document_files.h"
#include "host/input_quote.h"
#include "host/program_texts.h"
#include "host/text_codec.h"
#include "model/cio_node.h"
#include "model/cio_project.h"
#include "translation.h"

namespace pinsum::cli {
namespace {

using Json = nlohmann::ordered_json;

// How often each name occurs among the objects.
template <class Objects> std::map<std::string, int> NameCounts(const Objects& objects) {
    std::map<std::string, int> counts;
    for (const CioType* object : objects)
        if (object != nullptr)
            ++counts[object->name];
    return counts;
}

// A name the catalogue gives to more than one object cannot be requested: solve refuses it as
// ambiguous. The template leaves it out, and says so, rather than write one key for all of them.
void WarnAmbiguous(const char* pattern, const std::string& cp1250, int count) {
    std::cerr << "pinsum: "
              << FormatText(Tr(pattern), {ShowControls(QuoteCp1250Input(cp1250)), count}) << '\n';
}

// A request naming everything the catalogue offers, so that the user only edits numbers: every IO
// kind at 0, terminal kinds included, and the series offered by default. No terminal kind is
// enabled, as in the calculator at start: an enabled one keeps only the controllers that offer it.
Json RequestTemplate(const CioProject& project) {
    std::vector<const CioType*> kinds;
    for (const auto& child : project.requestList.children)
        if (const auto* item = dynamic_cast<const CioNode*>(child.get());
            item != nullptr && item->Kind() != nullptr)
            kinds.push_back(item->Kind());
    const std::map<std::string, int> kindNames = NameCounts(kinds);
    Json counts = Json::object();
    std::set<std::string> warned;
    for (const CioType* kind : kinds) {
        const int named = kindNames.at(kind->name);
        if (named == 1)
            counts[Cp1250ToUtf8(kind->name)] = 0;
        else if (warned.insert(kind->name).second)
            WarnAmbiguous(N_("warning: %s names %d IO kinds, which a request cannot tell apart; "
                             "the template leaves them out"),
                          kind->name, named);
    }
    const std::map<std::string, int> seriesNames = NameCounts(project.seriesSelection.entries);
    Json series = Json::array();
    warned.clear();
    for (const CioType* entry : project.seriesSelection.entries) {
        if (entry == nullptr || (entry->flags & FLAG_DEFAULT) == 0)
            continue;
        const int named = seriesNames.at(entry->name);
        if (named == 1)
            series.push_back(Cp1250ToUtf8(entry->name));
        else if (warned.insert(entry->name).second)
            WarnAmbiguous(N_("warning: %s names %d series, which a request cannot tell apart; the "
                             "template leaves them out"),
                          entry->name, named);
    }
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
