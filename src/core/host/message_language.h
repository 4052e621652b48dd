#pragma once

namespace pinsum {

// The engine's messages about bad input and bad settings are English. Each fixed part of one goes
// through Translate before values are put into it, so that a front end in another language can
// translate them: the command line sets its message catalogue here. The program's own Czech texts
// (ProgramText) do not pass through it.
using MessageTranslator = const char* (*)(const char* english);

// Set once at start-up, before any other thread runs; none keeps the English texts.
void SetMessageTranslator(MessageTranslator translator);
const char* Translate(const char* english);

// Marks a text for translation where it is defined; Translate translates it where it is used.
constexpr const char* N_(const char* english) {
    return english;
}

} // namespace pinsum
