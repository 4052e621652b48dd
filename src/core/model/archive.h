#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/archive_error.h"
#include "model/identity_table.h"

namespace pinsum {

class Messenger;
class ProgressSink;

// Writes the little-endian object stream into memory; the caller saves the bytes.
class ArchiveWriter {
public:
    void WriteInt32(int32_t value);
    void WriteUInt32(uint32_t value);
    void WriteUInt16(uint16_t value);
    void WriteDouble(double value);
    // Length-prefixed single-byte text: 1 byte below 255, FF + 16 bits below 0xFFFE, else
    // FF FFFF + 32 bits.
    void WriteText(std::string_view text);
    void WriteBytes(const void* data, size_t size);

    const std::vector<uint8_t>& Bytes() const { return m_bytes; }
    std::vector<uint8_t> TakeBytes() { return std::move(m_bytes); }

private:
    std::vector<uint8_t> m_bytes;
};

// Reads an object stream from memory. Every read checks the bytes left, so a damaged file ends in
// an ArchiveError and never in an over-read or an allocation the file cannot back.
class ArchiveReader {
public:
    ArchiveReader(const uint8_t* data, size_t size, std::string fileName = {});
    explicit ArchiveReader(const std::vector<uint8_t>& bytes, std::string fileName = {});

    int32_t ReadInt32();
    uint32_t ReadUInt32();
    uint16_t ReadUInt16();
    double ReadDouble();
    std::string ReadText();

    // Reads an element count and checks that at least minBytesEach bytes per element remain.
    uint32_t ReadCount(size_t minBytesEach);

    size_t Position() const { return m_pos; }
    size_t Size() const { return m_size; }
    size_t Remaining() const { return m_size - m_pos; }
    const std::string& FileName() const { return m_fileName; }

    [[noreturn]] void Fail(ArchiveCause cause, const std::string& detail) const;

    // Answers the duplicate-identity question while objects are read; none answers "continue".
    Messenger* messenger = nullptr;
    // Receives load progress; none sends nothing. Starts as the host's status sink.
    ProgressSink* progress;
    // Position of the last progress report; starts at "never reported".
    uint32_t lastReported = 0xFFFFFFFFu;
    // Object nesting depth, bounded so that a hostile file cannot exhaust the stack.
    int depth = 0;
    // The objects this load has read, by stored identity; references resolve against it.
    IdentityTable identities;

private:
    void Need(size_t bytes) const;
    std::string ReadWideText();
    size_t ReadLength(bool& wide);

    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
    std::string m_fileName;
};

} // namespace pinsum
