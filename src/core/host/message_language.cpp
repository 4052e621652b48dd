#include "host/message_language.h"

#include <atomic>

namespace pinsum {
namespace {

std::atomic<MessageTranslator> g_translator{nullptr};

} // namespace

void SetMessageTranslator(MessageTranslator translator) {
    g_translator.store(translator);
}

const char* Translate(const char* english) {
    const MessageTranslator translator = g_translator.load();
    return translator != nullptr ? translator(english) : english;
}

} // namespace pinsum
