#pragma once

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "host/messenger.h"
#include "host/notification.h"

namespace pinsum::test {

// Records every message and answers from a script (OK when the script is empty).
class RecordingMessenger : public Messenger {
public:
    MessageAnswer Show(const std::string& text, MessageIcon icon, MessageButtons) override {
        shown.push_back(text);
        icons.push_back(icon);
        if (answers.empty())
            return MessageAnswer::Ok;
        const MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::vector<std::string> shown;
    std::vector<MessageIcon> icons;
    std::deque<MessageAnswer> answers;
};

class RecordingSink : public ProgressSink {
public:
    void Send(uint32_t message, uint32_t first, int32_t second) override {
        sent.push_back({message, first, second});
    }
    struct Sent {
        uint32_t message;
        uint32_t first;
        int32_t second;
    };
    std::vector<Sent> sent;
};

} // namespace pinsum::test
