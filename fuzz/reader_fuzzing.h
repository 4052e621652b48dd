#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "host/messenger.h"
#include "host/notification.h"
#include "model/archive.h"
#include "model/cio_type.h"
#include "model/object_stream.h"

namespace pinsum::fuzz {

// Answers the duplicate-identity question with OK twice and Cancel the third time, so that both
// the continued and the abandoned read are reached.
class ScriptedMessenger : public Messenger {
public:
    MessageAnswer Show(const std::string&, MessageIcon, MessageButtons) override {
        return ++m_questions % 3 == 0 ? MessageAnswer::Cancel : MessageAnswer::Ok;
    }

private:
    unsigned m_questions = 0;
};

class IgnoringSink : public ProgressSink {
public:
    void Send(uint32_t, uint32_t, int32_t) override {}
};

// Runs one of the file readers over the bytes with a messenger and a progress sink attached.
// A damaged file may only end in ArchiveError (false); every other exception escapes to the fuzzer
// as a finding.
template <class Root>
bool ReadFile(const uint8_t* data, size_t size,
              void (*load)(ArchiveReader&, std::unique_ptr<Root>&), std::unique_ptr<Root>& root) {
    ScriptedMessenger messenger;
    IgnoringSink sink;
    ArchiveReader ar(data, size, "fuzz.pp");
    ar.messenger = &messenger;
    ar.progress = &sink;
    try {
        load(ar, root);
    } catch (const ArchiveError&) {
        return false;
    }
    return true;
}

// Starts the identities again before a load whose stored bytes are compared. The built-in objects
// are made on first use and draw identities then, so they are made first: otherwise the first
// load of the process would number its objects differently from every later one.
inline void RestartIdentities() {
    EmptyModule();
    Vornet();
    Kalbus();
    RestartIdentitiesForTesting();
}

// A finding that is no crash of its own: says what broke and stops the fuzzer on this input.
[[noreturn]] inline void Abort(const char* what) {
    std::fprintf(stderr, "fuzz finding: %s\n", what);
    std::abort();
}

} // namespace pinsum::fuzz
