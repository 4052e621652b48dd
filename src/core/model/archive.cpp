#include "model/archive.h"

#include <cstring>

#include "host/status_sink.h"
#include "host/text_codec.h"

namespace pinsum {

ArchiveError::ArchiveError(ArchiveCause cause, std::string file, uint64_t offset,
                           const std::string& detail)
    : EngineError(detail, ErrorPlace{file.empty() ? std::string("<paměť>") : file, offset, {}}),
      m_cause(cause), m_file(std::move(file)), m_offset(offset) {}

void ArchiveWriter::WriteInt32(int32_t value) {
    WriteUInt32(static_cast<uint32_t>(value));
}

void ArchiveWriter::WriteUInt32(uint32_t value) {
    const uint8_t b[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                          static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
    m_bytes.insert(m_bytes.end(), b, b + 4);
}

void ArchiveWriter::WriteUInt16(uint16_t value) {
    m_bytes.push_back(static_cast<uint8_t>(value));
    m_bytes.push_back(static_cast<uint8_t>(value >> 8));
}

void ArchiveWriter::WriteDouble(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    WriteUInt32(static_cast<uint32_t>(bits));
    WriteUInt32(static_cast<uint32_t>(bits >> 32));
}

void ArchiveWriter::WriteText(std::string_view text) {
    const size_t n = text.size();
    if (n < 0xFF) {
        m_bytes.push_back(static_cast<uint8_t>(n));
    } else if (n < 0xFFFE) {
        m_bytes.push_back(0xFF);
        WriteUInt16(static_cast<uint16_t>(n));
    } else {
        m_bytes.push_back(0xFF);
        WriteUInt16(0xFFFF);
        WriteUInt32(static_cast<uint32_t>(n));
    }
    WriteBytes(text.data(), n);
}

void ArchiveWriter::WriteBytes(const void* data, size_t size) {
    const auto* p = static_cast<const uint8_t*>(data);
    m_bytes.insert(m_bytes.end(), p, p + size);
}

ArchiveReader::ArchiveReader(const uint8_t* data, size_t size, std::string fileName)
    : progress(StatusSink()), m_data(data), m_size(size), m_fileName(std::move(fileName)) {}

ArchiveReader::ArchiveReader(const std::vector<uint8_t>& bytes, std::string fileName)
    : ArchiveReader(bytes.data(), bytes.size(), std::move(fileName)) {}

void ArchiveReader::Fail(ArchiveCause cause, const std::string& detail) const {
    throw ArchiveError(cause, m_fileName, m_pos, detail);
}

void ArchiveReader::Need(size_t bytes) const {
    if (bytes > Remaining())
        Fail(ArchiveCause::EndOfFile, "neočekávaný konec souboru");
}

uint32_t ArchiveReader::ReadUInt32() {
    Need(4);
    const uint8_t* p = m_data + m_pos;
    m_pos += 4;
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

int32_t ArchiveReader::ReadInt32() {
    return static_cast<int32_t>(ReadUInt32());
}

uint16_t ArchiveReader::ReadUInt16() {
    Need(2);
    const uint8_t* p = m_data + m_pos;
    m_pos += 2;
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

double ArchiveReader::ReadDouble() {
    const uint64_t low = ReadUInt32();
    const uint64_t high = ReadUInt32();
    const uint64_t bits = low | high << 32;
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

uint32_t ArchiveReader::ReadCount(size_t minBytesEach) {
    const int32_t count = ReadInt32();
    if (count < 0)
        Fail(ArchiveCause::BadIndex, "záporný počet prvků " + std::to_string(count));
    if (static_cast<uint64_t>(count) * minBytesEach > Remaining())
        Fail(ArchiveCause::EndOfFile,
             "počet prvků " + std::to_string(count) + " přesahuje konec souboru");
    return static_cast<uint32_t>(count);
}

size_t ArchiveReader::ReadLength(bool& wide) {
    Need(1);
    const uint8_t first = m_data[m_pos++];
    if (first < 0xFF)
        return first;
    const uint16_t second = ReadUInt16();
    if (second == 0xFFFE && !wide) {
        wide = true;
        return ReadLength(wide);
    }
    if (second < 0xFFFF)
        return second;
    return ReadUInt32();
}

std::string ArchiveReader::ReadText() {
    bool wide = false;
    const size_t n = ReadLength(wide);
    if (wide) {
        if (n > Remaining() / 2)
            Fail(ArchiveCause::EndOfFile, "délka textu přesahuje konec souboru");
        std::u16string units(n, u'\0');
        for (size_t i = 0; i < n; ++i)
            units[i] =
                static_cast<char16_t>(m_data[m_pos + 2 * i] | m_data[m_pos + 2 * i + 1] << 8);
        m_pos += 2 * n;
        return Utf16ToCp1250(units);
    }
    Need(n);
    std::string text(reinterpret_cast<const char*>(m_data + m_pos), n);
    m_pos += n;
    return text;
}

} // namespace pinsum
