// A stored help text of any form converted for display, loaded into and saved from the editor.
#include <string>
#include <string_view>

#include "helptext/help_markup.h"
#include "helptext/stored_help.h"

using namespace pinsum;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view stored(reinterpret_cast<const char*>(data), size);
    const std::string markup = ToMarkup(stored);
    const EditorText loaded = SelectSection(stored);
    MergeSection(stored, loaded.text);
    return 0;
}
