// The XLSX signal list reader: an input whose first byte is even is read as the file itself; one
// whose first byte is odd is a worksheet's XML (its second byte choosing a compressed or a stored
// part), put into a workbook with shared strings, so that mutations reach the XML as well as
// the container. Reading ends in rows or a SignalListError; any other exception or a crash is a
// finding.
#include <string>

#include "signal_fuzzing.h"
#include "signals/signal_list_error.h"
#include "signals/xlsx_reader.h"
#include "support/xlsx_builder.h"

using namespace pinsum;

namespace {

const std::string kSharedStrings =
    "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><si><t>Typ</t></si>"
    "<si><r><t>DI</t></r><rPh><t>x</t></rPh></si><si><t>AI 4-20mA</t></si></sst>";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    const SignalLimits limits = fuzz::FuzzLimits();
    fuzz::CheckingSink sink(limits);
    std::vector<uint8_t> file(data + 1, data + size);
    if (data[0] % 2 == 1) {
        const std::string sheet(reinterpret_cast<const char*>(data + 2), size - 2);
        file =
            test::ZipBytes(test::WorkbookParts({{"IO", sheet}}, kSharedStrings), data[1] % 2 == 1);
    }
    try {
        ReadXlsxRows(file, "fuzz.xlsx", std::nullopt, sink, limits);
    } catch (const SignalListError&) {
    }
    return 0;
}
