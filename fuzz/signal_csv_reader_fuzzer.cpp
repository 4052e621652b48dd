// The CSV signal list reader on any bytes: it ends in its rows or a SignalListError, every cell
// UTF-8 and within the limits. Any other exception or a crash is a finding.
#include <string_view>

#include "signal_fuzzing.h"
#include "signals/csv_reader.h"
#include "signals/signal_list_error.h"

using namespace pinsum;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const SignalLimits limits = fuzz::FuzzLimits();
    fuzz::CheckingSink sink(limits);
    try {
        ReadCsvRows(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.csv", sink,
                    limits);
    } catch (const SignalListError&) {
    }
    return 0;
}
