#pragma once

#include <cstddef>
#include <cstdint>

namespace pinsum {

// What a signal list may hold. A machine's list has a few thousand rows; the limits leave room
// for the largest lists and stop a hostile file (a zip bomb, a sheet of a million rows, a cell of
// megabytes) with a clear error in bounded memory and time.
struct SignalLimits {
    size_t fileBytes = size_t{128} << 20;
    // Rows read, empty ones included.
    uint32_t rows = 250'000;
    uint32_t columns = 1024;
    // A spreadsheet cell holds at most this many characters.
    uint32_t cellCharacters = 32'767;
    uint32_t typeCharacters = 200;
    uint32_t distinctTypes = 10'000;
    // The header row is looked for among the first rows that are not empty.
    uint32_t headerSearchRows = 50;
    // The parts of an XLSX file, uncompressed; the declared sizes are checked before reading and
    // the bytes read are counted, since a declared size can lie.
    size_t zipEntries = 10'000;
    size_t sheetBytes = size_t{512} << 20;
    size_t sharedStringsBytes = size_t{128} << 20;
    size_t sharedStrings = 2'000'000;
    size_t smallPartBytes = size_t{4} << 20;
};

} // namespace pinsum
