#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <iostream>

#include "command.h"
#include "host/input_quote.h"
#include "host/program_folders.h"
#include "host/program_texts.h"
#include "host/text_codec.h"
#include "interrupt_route.h"
#include "translation.h"
#include "update/ftp_config.h"
#include "update/headless_update_dialog.h"
#include "update/update_flows.h"

namespace pinsum::cli {
namespace {

// The update's outcome besides kExitOk (newer file found, installed, uploaded) and kExitBadInput.
constexpr int kExitDatabaseCurrent = 10;
constexpr int kExitNotDone = 1;

constexpr const char* kCheckArguments = "[--data-dir DIR]";
constexpr const char* kInstallArguments = "[--data-dir DIR] [--skip-check]";

struct UpdateOptions {
    std::string dataFolder;
    bool skipCheck = false;
};

UpdateOptions ParseOptions(const std::vector<std::string>& arguments, bool installing) {
    UpdateOptions options{ProgramFolder()};
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        if (word == "--skip-check" && installing) {
            options.skipCheck = true;
        } else if (word == "--data-dir") {
            if (i + 1 == arguments.size())
                throw CliError(Tr("option ") + QuoteInput("--data-dir") + Tr(" needs a value"));
            options.dataFolder = arguments[++i];
        } else {
            throw CliError((word.size() > 1 && word[0] == '-' ? Tr("unknown option ")
                                                              : Tr("unexpected argument ")) +
                           QuoteInput(word));
        }
    }
    std::error_code error;
    if (!std::filesystem::is_directory(options.dataFolder, error))
        throw CliError(options.dataFolder + ": " + Tr("no such data folder"));
    return options;
}

// The address, user name and password stay out of every message.
FtpConfig ServerConfig() {
    FtpConfig config;
    try {
        config = LoadFtpConfig(ProgramFolder());
    } catch (const FtpConfigError& e) {
        throw CliError(e.what());
    }
    if (config.url.empty())
        throw CliError(FormatText(Tr("no update server configured: set ftp.url in %s or "
                                     "PINSUM_FTP_URL"),
                                  {ProgramFolder() + kFtpConfigFileName}));
    return config;
}

// Prints each message the flow shows. Without a display nobody answers questions: a question
// prints only its statement, the first line, and is answered No.
class PrintingMessenger : public Messenger {
public:
    MessageAnswer Show(const std::string& text, MessageIcon, MessageButtons buttons) override {
        std::string message = Cp1250ToUtf8(text);
        if (buttons == MessageButtons::YesNo)
            message = message.substr(0, message.find('\n'));
        std::cout << ShowControls(message, "\n") << std::endl;
        return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    }
};

// The progress dialog on the console: a bar on stderr when it is a terminal, Ctrl+C for "Storno".
class ConsoleUpdateDialog : public FtpUpdateDialogRunner {
public:
    int ShowModal(ftpUpdateStruct& request, FtpWork work) override {
        const bool terminal = isatty(STDERR_FILENO) == 1;
        const InterruptRoute interrupts;
        HeadlessUpdateDialog dialog(
            [terminal](const std::string& status, int percent) {
                if (terminal)
                    DrawBar(status, percent);
            },
            [] { return InterruptRoute::Interrupted(); });
        const int code = dialog.ShowModal(request, work);
        if (terminal)
            std::fprintf(stderr, "\r\033[K");
        return code;
    }

private:
    static void DrawBar(const std::string& status, int percent) {
        constexpr int kWidth = 30;
        const int filled = percent * kWidth / 100;
        std::fprintf(stderr, "\r%s [%s%s] %3d%%\033[K", ShowControls(Cp1250ToUtf8(status)).c_str(),
                     std::string(filled, '#').c_str(), std::string(kWidth - filled, ' ').c_str(),
                     percent);
        std::fflush(stderr);
    }
};

int ExitStatus(FlowEnd end) {
    if (end == FlowEnd::Done)
        return kExitOk;
    return end == FlowEnd::Current ? kExitDatabaseCurrent : kExitNotDone;
}

// Runs one flow with the console's messages and progress dialog.
template <class Flow> int RunFlow(const std::string& dataFolder, Flow flow) {
    PrintingMessenger messenger;
    ConsoleUpdateDialog dialog;
    UpdateFlows flows(ServerConfig(), dataFolder, messenger, dialog);
    const FlowEnd end = flow(flows);
    // The reason goes under the flow's own message, on stderr, so that scripts still read the
    // message alone on stdout.
    if (!flows.FailureDetail().empty())
        std::cerr << "pinsum: " << ShowControls(flows.FailureDetail()) << '\n';
    return ExitStatus(end);
}

int Check(const std::vector<std::string>& arguments) {
    const UpdateOptions options = ParseOptions(arguments, false);
    return RunFlow(options.dataFolder, [](UpdateFlows& flows) {
        const FlowEnd end = flows.CheckForUpdate();
        // The statement of the question the automatic check would ask.
        if (end == FlowEnd::Done)
            flows.AskInstallFound();
        return end;
    });
}

int Install(const std::vector<std::string>& arguments) {
    const UpdateOptions options = ParseOptions(arguments, true);
    return RunFlow(options.dataFolder, [&](UpdateFlows& flows) {
        const FlowEnd end = flows.UpdateDatabase(options.skipCheck);
        if (end == FlowEnd::Done)
            flows.AskRestart();
        return end;
    });
}

int Upload(const std::vector<std::string>& arguments) {
    const std::string& file = arguments[0];
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        throw CliError(file + ": " + Tr("no such catalogue file"));
    const std::string path = std::filesystem::absolute(file).string();
    return RunFlow(ProgramFolder(),
                   [&](UpdateFlows& flows) { return flows.ExportDatabase(path, nullptr); });
}

} // namespace

const std::vector<Command>& UpdateCommands() {
    static const std::vector<Command> commands = {
        {"update", "check", kCheckArguments,
         N_("Asks the update server whether it holds a newer iodb.pp than the data folder."),
         kOwnArguments, Check,
         N_("  --data-dir DIR       the folder holding iodb.pp (default: the program's folder)\n")},
        {"update", "install", kInstallArguments,
         N_("Downloads a newer iodb.pp from the update server and installs it."), kOwnArguments,
         Install,
         N_("  --data-dir DIR       the folder holding iodb.pp (default: the program's folder)\n"
            "  --skip-check         downloads without the separate check first\n")},
        {"update", "upload", "FILE", N_("Sends a catalogue file to the update server."), 1, Upload},
    };
    return commands;
}

} // namespace pinsum::cli
