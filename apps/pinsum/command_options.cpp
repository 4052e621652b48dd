#include "command_options.h"

#include <algorithm>

#include "command.h"
#include "host/input_quote.h"
#include "translation.h"

namespace pinsum::cli {

std::vector<std::string> ReadOptions(const std::vector<std::string>& arguments,
                                     std::initializer_list<ValueOption> options,
                                     bool wordsAllowed) {
    std::vector<std::string> words;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        const auto option = std::find_if(options.begin(), options.end(),
                                         [&](const ValueOption& o) { return word == o.name; });
        if (option == options.end()) {
            const bool isOption = word.size() > 1 && word[0] == '-';
            if (isOption || !wordsAllowed)
                throw CliError((isOption ? Tr("unknown option ") : Tr("unexpected argument ")) +
                               QuoteInput(word));
            words.push_back(word);
            continue;
        }
        if (i + 1 == arguments.size())
            throw CliError(Tr("option ") + QuoteInput(word) + Tr(" needs a value"));
        *option->value = arguments[++i];
    }
    return words;
}

} // namespace pinsum::cli
