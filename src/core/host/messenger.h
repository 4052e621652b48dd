#pragma once

#include <string>

namespace pinsum {

enum class MessageIcon { Stop, Information, Question, Exclamation };
enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageAnswer { Ok, Cancel, Yes, No };

// Message boxes, also from worker threads. Texts are Windows-1250 bytes.
class Messenger {
public:
    virtual ~Messenger() = default;
    virtual MessageAnswer Show(const std::string& text, MessageIcon icon,
                               MessageButtons buttons) = 0;
};

} // namespace pinsum
