#pragma once

#include <string>

namespace pinsum {

enum class MessageIcon { Stop, Information, Question, Exclamation };
enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageAnswer { Ok, Cancel, Yes, No };

// Message boxes. Texts are Windows-1250 bytes.
// Called on the user-interface thread and on the search worker, which waits for the answer.
class Messenger {
public:
    virtual ~Messenger() = default;
    virtual MessageAnswer Show(const std::string& text, MessageIcon icon,
                               MessageButtons buttons) = 0;
};

} // namespace pinsum
