#include <climits>
#include <iostream>
#include <memory>

#include "command.h"
#include "document_files.h"
#include "helptext/help_markup.h"
#include "helptext/markup_layout.h"
#include "helptext/markup_tokenizer.h"
#include "helptext/picture_element.h"
#include "host/file_io.h"
#include "host/input_quote.h"
#include "host/name_hint.h"
#include "host/program_texts.h"
#include "host/text_codec.h"
#include "model/cio_array.h"
#include "model/cio_db.h"
#include "plain_text_canvas.h"
#include "stderr_messenger.h"
#include "translation.h"
#include "unicode_names.h"

namespace pinsum::cli {
namespace {

const CioType& FindCatalogueItem(const CioDb& db, const std::string& utf8Name) {
    const std::string composed = ComposedName(utf8Name);
    const std::string name = Utf8ToCp1250(composed);
    // A name with characters outside Windows-1250 must not match through its '?' replacements.
    const bool representable = IsCp1250Representable(composed);
    std::vector<std::string> names;
    for (const CioArray* list : {&db.ioKinds, &db.modules, &db.seriesList, &db.devices})
        for (const std::unique_ptr<CioType>& item : list->children) {
            if (representable && item->name == name)
                return *item;
            names.push_back(item->name);
        }
    throw CliError(FormatText(Tr("no item named %s in the catalogue"), {QuoteInput(utf8Name)}) +
                   (representable ? DidYouMean(ClosestNames(name, names)) : ""));
}

// Pictures become one line with their sizes; the rest is the mark-up as it is.
std::string SummarisePictures(std::string_view markup) {
    std::string out;
    size_t at = 0;
    while (at < markup.size()) {
        const MarkupToken token = NextMarkupToken(markup, at);
        const std::optional<PictureElement> picture =
            token.tag == MarkupTag::Picture ? DecodePicture(markup, at) : std::nullopt;
        if (!picture) {
            out.append(markup.substr(at, token.length));
            at += token.length;
            continue;
        }
        out += "\n<pict " + std::to_string(picture->displayWidth) + "x" +
               std::to_string(picture->displayHeight) + " twips, " +
               std::to_string(picture->pixelWidth) + "x" + std::to_string(picture->pixelHeight) +
               " px, JPEG " + std::to_string(picture->jpeg.size()) + " bytes>\n";
        at = picture->end;
    }
    return out;
}

std::string PlainText(std::string_view markup) {
    PlainTextCanvas canvas;
    CPrintLayout boxes;
    boxes.SetSingleBox({0, 0, 380, INT_MAX / 2});
    MarkupLayout layout(canvas, boxes);
    layout.LayOut(markup, layout.FirstPage(), true);
    return canvas.Text();
}

int Show(const std::vector<std::string>& arguments) {
    std::vector<std::string> names;
    bool plain = false;
    for (const std::string& argument : arguments) {
        if (argument == "--plain")
            plain = true;
        else if (argument.size() > 1 && argument[0] == '-')
            throw CliError(Tr("unknown option ") + QuoteInput(argument));
        else
            names.push_back(argument);
    }
    if (names.size() != 2)
        throw CliError(Tr("usage: pinsum ") +
                       std::string("help show CATALOGUE ITEM-NAME [--plain]"));
    const std::unique_ptr<CioDb> db = LoadCatalogueDatabase(names[0]);
    StderrMessenger messenger;
    const std::string markup = ToMarkup(FindCatalogueItem(*db, names[1]).help, &messenger);
    const std::string shown = plain ? PlainText(markup) : SummarisePictures(markup) + "\n";
    std::cout << ShowControls(Cp1250ToUtf8(shown), "\t\n");
    return kExitOk;
}

// Pictures are summarised as "help show" does, since their bytes read as text are neither
// readable nor the exact mark-up; --raw gives scripts the exact mark-up bytes, in Windows-1250.
int Convert(const std::vector<std::string>& arguments) {
    std::vector<std::string> files;
    bool raw = false;
    for (const std::string& argument : arguments) {
        if (argument == "--raw")
            raw = true;
        else if (argument.size() > 1 && argument[0] == '-')
            throw CliError(Tr("unknown option ") + QuoteInput(argument));
        else
            files.push_back(argument);
    }
    if (files.size() != 1)
        throw CliError(Tr("usage: pinsum ") + std::string("help convert FILE.rtf [--raw]"));
    const std::vector<uint8_t> bytes = ReadFileBytes(files[0]);
    StderrMessenger messenger;
    const std::string markup = ToMarkup(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), &messenger);
    if (raw)
        std::cout.write(markup.data(), static_cast<std::streamsize>(markup.size()));
    else
        std::cout << ShowControls(Cp1250ToUtf8(SummarisePictures(markup)), "\t\n") << '\n';
    return kExitOk;
}

} // namespace

const std::vector<Command>& HelpCommands() {
    static const std::vector<Command> commands = {
        {"help", "show", "CATALOGUE ITEM-NAME [--plain]",
         N_("Prints an item's help as mark-up, or laid out as plain text."), kOwnArguments, Show,
         N_("  --plain              lays the help out as plain text, as the tool-tip shows it\n")},
        {"help", "convert", "FILE.rtf [--raw]",
         N_("Converts a rich-text file to mark-up; --raw: the exact bytes."), kOwnArguments,
         Convert,
         N_("  --raw                the exact mark-up bytes: Windows-1250, pictures included\n")},
    };
    return commands;
}

} // namespace pinsum::cli
