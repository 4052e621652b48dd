#include <iostream>

#include "catalogue_report.h"
#include "command.h"
#include "document_files.h"
#include "host/file_io.h"
#include "model/catalogue_json.h"
#include "model/cio_db.h"
#include "translation.h"

namespace pinsum::cli {
namespace {

int Show(const std::vector<std::string>& arguments) {
    std::cout << CatalogueReport(*LoadCatalogueDatabase(arguments[0]));
    return kExitOk;
}

int Export(const std::vector<std::string>& arguments) {
    const std::string& path = arguments[0];
    std::unique_ptr<CioDb> db = LoadCatalogueDatabase(path);
    try {
        std::cout << CatalogueToJsonText(*db);
    } catch (const JsonError& e) {
        throw CliError(path + ": " + e.what());
    }
    return kExitOk;
}

int Import(const std::vector<std::string>& arguments) {
    const std::string& path = arguments[0];
    const std::vector<uint8_t> bytes = ReadFileBytes(path);
    std::unique_ptr<CioDb> db;
    try {
        db = CatalogueFromJsonText(
            std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    } catch (const JsonError& e) {
        throw CliError(path + ": " + e.what());
    }
    SaveCatalogue(arguments[1], db.get());
    return kExitOk;
}

int Resave(const std::vector<std::string>& arguments) {
    SaveCatalogue(arguments[1], LoadCatalogue(arguments[0]).get());
    return kExitOk;
}

} // namespace

const std::vector<Command>& CatalogueCommands() {
    static const std::vector<Command> commands = {
        {"catalogue", "show", "FILE", N_("Shows the catalogue file as a readable tree."), 1, Show},
        {"catalogue", "export", "FILE", N_("Writes the catalogue file as JSON to stdout."), 1,
         Export},
        {"catalogue", "import", "FILE.json OUT", N_("Builds a catalogue file from its JSON form."),
         2, Import},
        {"catalogue", "resave", "IN OUT", N_("Reads a catalogue file and writes it again."), 2,
         Resave},
    };
    return commands;
}

} // namespace pinsum::cli
