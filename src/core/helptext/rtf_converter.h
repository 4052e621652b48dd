#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/messenger.h"

namespace pinsum {

// Converts one rich-text group, from its "{" to its matching "}", into display mark-up. Groups
// are followed with a counter, not recursion, so any depth of nesting is safe.
class RtfConverter {
public:
    // Picture failures are shown through the messenger when one is given.
    explicit RtfConverter(Messenger* messenger = nullptr) : m_messenger(messenger) {}

    std::string Convert(std::string_view group);

private:
    struct ControlWord {
        std::string_view name;
        int parameter = -1; // -1 when the word holds no digits
    };

    void Step();
    void CloseGroup();
    void SkipGroup();
    void Backslash();
    void HexByte();
    ControlWord ReadWord();
    bool WordFollows() const;
    void Act(const ControlWord& word);
    void Paragraph();
    void ColourTable();
    void SkipPast(char end);
    void SetColour(int index);
    void Toggle(int parameter, std::string_view on, std::string_view off);
    void Picture();
    std::optional<std::pair<uint16_t, uint16_t>> PictureGoal();

    Messenger* m_messenger;
    std::string_view m_text;
    size_t m_at = 0;
    size_t m_depth = 0;
    size_t m_fontNameDepth = 0; // the group whose font name is being skipped, 0 for none
    std::string m_out;
    std::vector<uint32_t> m_colours; // 0xRRGGBB
    bool m_fontOpen = false;
};

} // namespace pinsum
