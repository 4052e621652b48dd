#include <iostream>

#include "command.h"
#include "command_options.h"
#include "document_files.h"
#include "host/file_io.h"
#include "host/input_quote.h"
#include "host/program_texts.h"
#include "model/cio_project.h"
#include "signals/kind_mapping.h"
#include "signals/signal_import.h"
#include "solver/search_request.h"
#include "translation.h"

namespace pinsum::cli {
namespace {

// A name the catalogue gives to more than one object cannot be requested: solve refuses it as
// ambiguous. The template leaves it out, and says so, rather than write one key for all of them.
void WarnAmbiguous(const AmbiguousName& name) {
    const char* pattern =
        name.series ? N_("warning: %s names %d series, which a request cannot tell apart; the "
                         "template leaves them out")
                    : N_("warning: %s names %d IO kinds, which a request cannot tell apart; "
                         "the template leaves them out");
    std::cerr << "pinsum: "
              << FormatText(Tr(pattern), {ShowControls(QuoteInput(name.name)), name.objects})
              << '\n';
}

int Template(const std::vector<std::string>& arguments) {
    std::optional<std::string> catalogue;
    ReadOptions(arguments, {{"--catalogue", &catalogue}}, false);
    std::vector<AmbiguousName> leftOut;
    const SearchRequest request = TemplateRequest(*LoadCalculatorProject(catalogue), &leftOut);
    for (const AmbiguousName& name : leftOut)
        WarnAmbiguous(name);
    std::cout << SearchRequestJson(request);
    return kExitOk;
}

constexpr const char* kFromSignalsArguments =
    "LIST.xlsx|LIST.csv [--sheet NAME] [--type-column NAME] [--map MAP.json] [--catalogue FILE]";

// The request of a signal list; what the list holds besides its signals is said on stderr.
int FromSignals(const std::vector<std::string>& arguments) {
    std::optional<std::string> catalogue, sheet, typeColumn, mapFile;
    const std::vector<std::string> files = ReadOptions(arguments,
                                                       {{"--catalogue", &catalogue},
                                                        {"--sheet", &sheet},
                                                        {"--type-column", &typeColumn},
                                                        {"--map", &mapFile}},
                                                       true);
    if (files.size() != 1)
        throw CliError(std::string("usage: pinsum request from-signals ") + kFromSignalsArguments);
    const std::unique_ptr<CioProject> project = LoadCalculatorProject(catalogue);
    const KindIndex kinds(*project->database);
    std::optional<KindMap> map;
    if (mapFile) {
        const std::vector<uint8_t> bytes = ReadFileBytes(*mapFile);
        map = KindMap::Parse(
            std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), *mapFile,
            kinds);
    }
    const SignalImport import =
        ImportSignalList(ReadSignalListFile(files[0]), files[0], *project->database,
                         {sheet, typeColumn, {}}, map ? &*map : nullptr);
    if (!import.unmapped.empty())
        throw CliError(files[0] + ": " + Tr("signal types that are no IO kind of the catalogue") +
                       ": " + UnmappedTypesText(import.unmapped) + "; " +
                       Tr("name them with --map MAP.json"));
    if (!import.withoutType.Empty())
        std::cerr << "pinsum: " << files[0] << ": " << Tr("left out, without a type") << ": "
                  << RowsText(import.withoutType) << '\n';
    if (!import.leftOut.Empty())
        std::cerr << "pinsum: " << files[0] << ": " << Tr("left out, as the map file says") << ": "
                  << RowsText(import.leftOut) << '\n';
    std::cout << SearchRequestJson(RequestFromSignals(*project, import, files[0]));
    return kExitOk;
}

} // namespace

const std::vector<Command>& RequestCommands() {
    static const std::vector<Command> commands = {
        {"request", "template", "[--catalogue FILE]",
         N_("Prints a request naming every IO kind and the default series, to edit."),
         kOwnArguments, Template,
         N_("  --catalogue FILE     the catalogue (default: iodb.pp found beside the program)\n")},
        {"request", "from-signals", kFromSignalsArguments,
         N_("Prints the request of a signal list: one signal per row, counted by type."),
         kOwnArguments, FromSignals,
         N_("  --sheet NAME         the worksheet of an XLSX file (default: the first)\n"
            "  --type-column NAME   the header of the type column (default: Typ, Typ signálu,\n"
            "                       Typ IO, Type, Signal type or IO type)\n"
            "  --map MAP.json       signal types to IO kinds: {\"DI\": \"DI 24V DC\", ...};\n"
            "                       null for a type that is no IO point\n"
            "  --catalogue FILE     the catalogue (default: iodb.pp found beside the program)\n")},
    };
    return commands;
}

} // namespace pinsum::cli
