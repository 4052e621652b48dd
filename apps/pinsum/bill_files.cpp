#include "bill_files.h"

#include <ctime>

#include "bill/bill.h"
#include "command.h"
#include "quotation/pdf_quotation.h"
#include "quotation/xlsx_bill.h"

namespace pinsum::cli {

void CheckOutput(OutputFormat format, const std::optional<std::string>& output) {
    if (IsFileFormat(format) && !output)
        throw CliError("--format xlsx and pdf write a file: name it with --output FILE");
    if (!IsFileFormat(format) && output)
        throw CliError("--output: only --format xlsx or pdf writes a file");
}

void WriteBillFile(const CioProject& project, OutputFormat format, const SolutionChoice& choice,
                   const std::string& output) {
    const Bill bill = MakeBill(project, ChosenSolutions(project, choice));
    if (format == OutputFormat::Xlsx)
        WriteXlsxBill(output, bill);
    else
        WriteQuotationPdf(output, bill, CzechDate(std::time(nullptr)));
}

} // namespace pinsum::cli
