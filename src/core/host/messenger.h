#pragma once

#include <cstdint>
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

    // A file being read holds a second object with this stored identity; true reads on. Asks the
    // question in a message box; a messenger with nobody to ask overrides this to say what
    // happened instead.
    virtual bool ContinueAfterDuplicateIdentity([[maybe_unused]] uint32_t identity,
                                                const std::string& question) {
        return Show(question, MessageIcon::Question, MessageButtons::OkCancel) !=
               MessageAnswer::Cancel;
    }
};

} // namespace pinsum
