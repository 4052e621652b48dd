#include "calc/signal_list_command.h"

#include <ctime>
#include <optional>

#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/msgdlg.h>

#include "bill/bill.h"
#include "common/ui_texts.h"
#include "common/wx_text.h"
#include "host/file_io.h"
#include "host/input_quote.h"
#include "model/cio_project.h"
#include "quotation/pdf_quotation.h"
#include "signals/kind_mapping.h"
#include "signals/signal_import.h"

namespace pinsum::ui {
namespace {

// A message box lists this many unmapped types; a list may have thousands.
constexpr size_t kTypesShown = 10;

wxString CzechRowsText(const RowList& rows) {
    wxString numbers;
    for (size_t i = 0; i < rows.rows.size(); ++i)
        numbers += (i == 0 ? "" : ", ") + wxString::Format("%u", rows.rows[i]);
    if (rows.count > rows.rows.size())
        numbers = Format(UiText::SignalRowsMore,
                         {numbers.utf8_string(),
                          static_cast<unsigned long long>(rows.count - rows.rows.size())});
    return Format(rows.count == 1 ? UiText::SignalRow : UiText::SignalRows,
                  {numbers.utf8_string()});
}

wxString UnmappedTypeLine(const UnmappedType& type) {
    wxString line = Format(UiText::SignalTypeRows,
                           {QuoteInput(type.type), CzechRowsText(type.rows).utf8_string()});
    if (type.hints.empty())
        return line;
    std::string hints;
    for (const std::string& hint : type.hints)
        hints += (hints.empty() ? "" : ", ") + QuoteInput(hint);
    return Format(UiText::SignalTypeHints, {line.utf8_string(), hints});
}

void ShowError(wxWindow* parent, const wxString& text) {
    wxMessageDialog box(parent, text, Text(UiText::HostCaption), wxOK | wxICON_ERROR);
    box.ShowModal();
}

wxString ChooseFile(wxWindow* parent, UiText caption, UiText filter, long style,
                    const wxString& folder = wxString(), const wxString& name = wxString()) {
    wxFileDialog dialog(parent, Text(caption), folder, name,
                        Text(filter) + "|" + Text(UiText::AllFilesFilter), style);
    return dialog.ShowModal() == wxID_OK ? dialog.GetPath() : wxString();
}

std::optional<KindMap> ReadMap(wxWindow* parent, const CioProject& project, const wxString& path) {
    const wxString name = wxFileName(path).GetFullName();
    try {
        const std::vector<uint8_t> bytes = ReadFileBytes(path.utf8_string());
        return KindMap::Parse(
            std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
            name.utf8_string(), KindIndex(*project.database));
    } catch (const std::exception& e) {
        ShowError(parent, Format(UiText::FileUnreadable, {e.what()}));
        return std::nullopt;
    }
}

} // namespace

wxString SignalListMessage(const SignalImport& import, const wxString& fileName) {
    uint64_t signals = 0;
    for (const KindCount& count : import.counts)
        signals += count.count;
    const unsigned long long total = signals;
    wxString text = import.sheet.empty()
                        ? Format(UiText::SignalListLoaded, {fileName.utf8_string(), total})
                        : Format(UiText::SignalListLoadedFromSheet,
                                 {fileName.utf8_string(), import.sheet, total});
    if (!import.unmapped.empty()) {
        text += "\n\n" + Text(UiText::SignalTypesUnmapped);
        for (size_t i = 0; i < import.unmapped.size() && i < kTypesShown; ++i)
            text += "\n" + UnmappedTypeLine(import.unmapped[i]);
        if (import.unmapped.size() > kTypesShown)
            text += "\n" +
                    Format(UiText::SignalMoreTypes,
                           {static_cast<unsigned long long>(import.unmapped.size() - kTypesShown)});
    }
    if (!import.withoutType.Empty() || !import.leftOut.Empty())
        text += "\n";
    if (!import.withoutType.Empty())
        text += "\n" + Format(UiText::SignalRowsWithoutType,
                              {CzechRowsText(import.withoutType).utf8_string()});
    if (!import.leftOut.Empty())
        text +=
            "\n" + Format(UiText::SignalRowsLeftOut, {CzechRowsText(import.leftOut).utf8_string()});
    return text;
}

bool LoadSignalList(wxWindow* parent, CioProject& project,
                    const std::function<void(const std::vector<CioNode*>&)>& shown) {
    if (project.database == nullptr)
        return false;
    const wxString path = ChooseFile(parent, UiText::SignalListCaption, UiText::SignalListFilter,
                                     wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    if (path.empty())
        return false;
    const wxString fileName = wxFileName(path).GetFullName();
    std::vector<uint8_t> bytes;
    try {
        bytes = ReadSignalListFile(path.utf8_string());
    } catch (const std::exception& e) {
        ShowError(parent, Format(UiText::FileUnreadable, {e.what()}));
        return false;
    }
    bool changed = false;
    std::optional<KindMap> map;
    for (;;) {
        SignalImport import;
        try {
            import = ImportSignalList(bytes, fileName.utf8_string(), *project.database, {},
                                      map ? &*map : nullptr);
            shown(ApplySignalCounts(import, project, fileName.utf8_string()));
            changed = true;
        } catch (const std::exception& e) {
            ShowError(parent, Format(UiText::FileUnreadable, {e.what()}));
            return changed;
        }
        const wxString message = SignalListMessage(import, fileName);
        if (import.unmapped.empty()) {
            wxMessageDialog box(parent, message, Text(UiText::HostCaption),
                                wxOK | wxICON_INFORMATION);
            box.ShowModal();
            return changed;
        }
        // The map usually lies beside the list, so its dialog opens there.
        wxMessageDialog question(parent, message + "\n\n" + Text(UiText::SignalMapQuestion),
                                 Text(UiText::HostCaption), wxYES_NO | wxICON_QUESTION);
        if (question.ShowModal() != wxID_YES)
            return changed;
        const wxString mapPath =
            ChooseFile(parent, UiText::SignalMapCaption, UiText::SignalMapFilter,
                       wxFD_OPEN | wxFD_FILE_MUST_EXIST, wxFileName(path).GetPath());
        if (mapPath.empty())
            return changed;
        map = ReadMap(parent, project, mapPath);
        if (!map)
            return changed;
    }
}

void SaveQuotation(wxWindow* parent, const CioProject& project, size_t index) {
    const wxString path =
        ChooseFile(parent, UiText::QuotationCaption, UiText::QuotationFilter,
                   wxFD_SAVE | wxFD_OVERWRITE_PROMPT, wxString(), Text(UiText::QuotationFileName));
    if (path.empty())
        return;
    try {
        WriteQuotationPdf(path.utf8_string(), MakeBill(project, {index}),
                          CzechDate(std::time(nullptr)));
    } catch (const std::exception& e) {
        ShowError(parent, Format(UiText::FileNotSaved, {e.what()}));
    }
}

} // namespace pinsum::ui
