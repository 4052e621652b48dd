#pragma once

#include <cerrno>

#include "host/file_io.h"

namespace pinsum::test {

// The steps of a ReplacementFile that FailingWrites can make fail.
enum class WriteStep { Create, Write, Sync, Rename };

// While it lives, every ReplacementFile fails at one step with an error code, as a full disk
// (ENOSPC), a read-only folder (EROFS) or a folder removed meanwhile (ENOENT) would make it.
class FailingWrites {
public:
    FailingWrites(WriteStep step, int code) : m_calls(SystemFileWriteCalls()) {
        s_code = code;
        switch (step) {
        case WriteStep::Create:
            m_calls.create = [](const char*, int, mode_t) { return Fail<int>(); };
            break;
        case WriteStep::Write:
            m_calls.write = [](int, const void*, size_t) { return Fail<ssize_t>(); };
            break;
        case WriteStep::Sync:
            m_calls.sync = [](int) { return Fail<int>(); };
            break;
        case WriteStep::Rename:
            m_calls.rename = [](const char*, const char*) { return Fail<int>(); };
            break;
        }
        SetFileWriteCalls(&m_calls);
    }
    ~FailingWrites() { SetFileWriteCalls(nullptr); }
    FailingWrites(const FailingWrites&) = delete;
    FailingWrites& operator=(const FailingWrites&) = delete;

private:
    template <class T> static T Fail() {
        errno = s_code;
        return -1;
    }

    static inline int s_code = 0;
    FileWriteCalls m_calls;
};

} // namespace pinsum::test
