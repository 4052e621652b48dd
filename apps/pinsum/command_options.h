#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace pinsum::cli {

// An option that takes a value ("--level N"); the value lands in *value.
struct ValueOption {
    const char* name;
    std::optional<std::string>* value;
};

// Reads the options with values among the arguments and returns the other words in order. An
// unknown option, an option without its value and, when no words are allowed, any other word
// are CliErrors.
std::vector<std::string> ReadOptions(const std::vector<std::string>& arguments,
                                     std::initializer_list<ValueOption> options, bool wordsAllowed);

} // namespace pinsum::cli
