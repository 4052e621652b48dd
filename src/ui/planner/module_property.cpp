#include "planner/module_property.h"

#include <algorithm>

#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "common/dialog_units.h"
#include "common/ui_ids.h"
#include "common/ui_texts.h"
#include "common/wx_text.h"
#include "controls/image_menu.h"
#include "model/cio_db.h"
#include "model/cio_line.h"
#include "model/cio_plc.h"
#include "model/cio_variant.h"
#include "model/object_stream.h"
#include "planner/list_dialog.h"
#include "planner/type_property.h"
#include "planner/variant_property.h"

namespace pinsum::ui {
namespace {

wxStaticText* Label(wxWindow* parent, UiText text) {
    return new wxStaticText(parent, wxID_ANY, Text(text));
}

wxSizer* Labelled(wxWindow* parent, UiText text, wxWindow* control, int proportion = 1) {
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(Label(parent, text), 0, wxBOTTOM, 3);
    column->Add(control, proportion, wxEXPAND);
    return column;
}

std::vector<wxString> Names(const std::vector<CioType*>& objects) {
    std::vector<wxString> names;
    for (const CioType* object : objects)
        names.push_back(object != nullptr ? FromModel(object->name) : wxString());
    return names;
}

wxChoice* Choice(wxWindow* parent, int id, std::initializer_list<UiText> texts) {
    auto* choice = new wxChoice(parent, id);
    for (const UiText text : texts)
        choice->Append(Text(text));
    return choice;
}

} // namespace

PriceInput ParsePriceInput(const wxString& text) {
    wxString typed = text;
    typed.Trim(true).Trim(false);
    typed.Replace(",", ".");
    const std::optional<int64_t> scaled = ParsePrice(ToModel(typed));
    if (!scaled)
        return {std::nullopt, Text(UiText::PriceInvalid)};
    const Currency price{0, *scaled};
    if (!IsCataloguePrice(price))
        return {std::nullopt,
                Format(UiText::PriceOutOfRange, {FormatPrice(Currency{0, kMaxPriceScaled})})};
    return {price, wxString()};
}

CioModuleProperty::CioModuleProperty(wxWindow* parent, const CioModul& module, CioDb* database)
    : CioModuleProperty(parent, module, database, false) {
    GetSizer()->SetSizeHints(this);
}

CioModuleProperty::CioModuleProperty(wxWindow* parent, const CioModul& module, CioDb* database,
                                     bool device)
    : CHelpEditor(parent,
                  Text(device ? UiText::DevicePropertyCaption : UiText::ModulePropertyCaption),
                  module.help),
      m_module(module), m_database(database), m_name(module.name), m_marking(module.marking),
      m_price(module.listPrice) {
    // Every variant gets a working copy of its own; the dialog edits only those.
    for (const auto& child : module.children) {
        auto* variant = dynamic_cast<CioVariant*>(child.get());
        if (variant == nullptr)
            continue;
        auto copy = std::make_unique<CioVariant>();
        copy->CopyFrom(variant);
        m_rows.push_back({variant, std::move(copy)});
    }
    Build(device);
    BindCommands(device);
}

CioModuleProperty::~CioModuleProperty() = default;

void CioModuleProperty::Build(bool device) {
    auto* column = new wxBoxSizer(wxVERTICAL);
    auto* fields = new wxBoxSizer(wxHORIZONTAL);
    fields->Add(NameRow(this, m_nameField), 3, wxALIGN_CENTRE_VERTICAL | wxRIGHT, 10);
    fields->Add(Label(this, UiText::LabelMarking), 0, wxALIGN_CENTRE_VERTICAL | wxRIGHT, 5);
    m_markingField =
        new wxTextCtrl(this, ID_MARKING, wxString(), wxDefaultPosition, FieldSize(this, -1));
    fields->Add(m_markingField, 2, wxALIGN_CENTRE_VERTICAL | wxRIGHT, 10);
    fields->Add(Label(this, UiText::LabelPrice), 0, wxALIGN_CENTRE_VERTICAL | wxRIGHT, 5);
    m_priceField = new wxTextCtrl(this, ID_PRICE, wxString(), wxDefaultPosition,
                                  FieldSize(this, 60), wxTE_RIGHT);
    fields->Add(m_priceField, 0, wxALIGN_CENTRE_VERTICAL);
    column->Add(fields, 0, wxEXPAND | wxALL, 7);

    m_extraRow = new wxBoxSizer(wxHORIZONTAL);
    column->Add(m_extraRow, 0, wxEXPAND | wxLEFT | wxRIGHT, 7);

    m_listsRow = new wxBoxSizer(wxHORIZONTAL);
    const wxSize listSize = DialogSize(this, device ? 120 : 180, 80);
    m_variants =
        new NumberedList(this, ID_VARIANT_LIST,
                         Text(device ? UiText::ColumnPositions : UiText::ColumnVariant), listSize);
    m_points = new NumberedList(
        this, ID_POINT_LIST, Text(device ? UiText::ColumnModules : UiText::ColumnPoint), listSize);
    m_listsRow->Add(
        Labelled(this, device ? UiText::LabelPositions : UiText::LabelVariants, m_variants), 1,
        wxEXPAND | wxRIGHT, 7);
    m_listsRow->Add(Labelled(this, device ? UiText::LabelModules : UiText::LabelPoints, m_points),
                    1, wxEXPAND);
    column->Add(m_listsRow, 1, wxEXPAND | wxALL, 7);

    auto* bottom = new wxBoxSizer(wxHORIZONTAL);
    bottom->Add(Labelled(this, UiText::LabelModuleHelp, CreateHelpPane(this, 300, 70)), 1,
                wxEXPAND | wxRIGHT, 7);
    bottom->Add(OkCancelColumn(this), 0, wxALIGN_BOTTOM);
    column->Add(bottom, 1, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 7);
    SetSizer(column);
}

void CioModuleProperty::BindCommands(bool device) {
    Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { InsertPoint(false); },
        MenuId(ID_INSERT_POINT_BEFORE));
    Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { InsertPoint(true); }, MenuId(ID_INSERT_POINT_AFTER));
    Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { DeletePoint(); }, MenuId(ID_DELETE_POINT));
    Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { InsertVariant(false); },
        MenuId(ID_INSERT_VARIANT_BEFORE));
    Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { InsertVariant(true); },
        MenuId(ID_INSERT_VARIANT_AFTER));
    Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { DeleteVariant(); }, MenuId(ID_DELETE_VARIANT));
    for (const int command : {ID_INSERT_POINT_BEFORE, ID_INSERT_POINT_AFTER, ID_DELETE_POINT,
                              ID_INSERT_VARIANT_BEFORE, ID_INSERT_VARIANT_AFTER, ID_DELETE_VARIANT})
        Bind(wxEVT_UPDATE_UI, &CioModuleProperty::OnUpdateCommand, this, MenuId(command));

    m_variants->Bind(wxEVT_LIST_ITEM_SELECTED, [this](wxListEvent&) { ShowPoints(0); });
    m_variants->Bind(wxEVT_LIST_ITEM_DESELECTED, [this](wxListEvent&) { ShowPoints(0); });
    // A position of a device has nothing to edit but its modules.
    if (!device)
        m_variants->Bind(wxEVT_LIST_ITEM_ACTIVATED,
                         [this](wxListEvent& event) { EditVariant(event.GetIndex()); });
    for (NumberedList* list : {m_variants, m_points}) {
        list->Bind(wxEVT_CONTEXT_MENU, [this, list](wxContextMenuEvent&) { PopupCommands(list); });
        list->Bind(wxEVT_LIST_KEY_DOWN, [this, list](wxListEvent& event) {
            const bool variants = list == m_variants;
            if (event.GetKeyCode() == WXK_INSERT)
                variants ? InsertVariant(true) : InsertPoint(true);
            else if (event.GetKeyCode() == WXK_DELETE)
                variants ? DeleteVariant() : DeletePoint();
            else
                event.Skip();
        });
    }
}

void CioModuleProperty::PopupCommands(NumberedList* list) {
    list->SetFocus();
    std::unique_ptr<wxMenu> menu =
        list == m_variants ? CImageMenu::CreateMenu({ID_INSERT_VARIANT_BEFORE,
                                                     ID_INSERT_VARIANT_AFTER, ID_DELETE_VARIANT})
                           : CImageMenu::CreateMenu(
                                 {ID_INSERT_POINT_BEFORE, ID_INSERT_POINT_AFTER, ID_DELETE_POINT});
    list->PopupMenu(menu.get());
}

void CioModuleProperty::OnUpdateCommand(wxUpdateUIEvent& event) {
    const bool inVariants = m_variants->HasFocusWithin();
    const bool inPoints = m_points->HasFocusWithin();
    bool enabled = false;
    switch (CommandOfMenuId(event.GetId())) {
    case ID_INSERT_POINT_BEFORE:
    case ID_INSERT_POINT_AFTER:
        enabled = inPoints && m_variants->GetItemCount() > 0;
        break;
    case ID_DELETE_POINT:
        enabled = inPoints && m_points->GetItemCount() > 0;
        break;
    case ID_INSERT_VARIANT_BEFORE:
    case ID_INSERT_VARIANT_AFTER:
        enabled = inVariants;
        break;
    case ID_DELETE_VARIANT:
        enabled = inVariants && m_variants->GetItemCount() > 0;
        break;
    default:
        break;
    }
    event.Enable(enabled);
}

bool CioModuleProperty::TransferDataToWindow() {
    m_nameField->ChangeValue(FromModel(m_name));
    m_markingField->ChangeValue(FromModel(m_marking));
    m_priceField->ChangeValue(FromModel(FormatPrice(m_price)));
    ShowVariants(0);
    return CHelpEditor::TransferDataToWindow();
}

bool CioModuleProperty::TransferDataFromWindow() {
    const PriceInput price = ParsePriceInput(m_priceField->GetValue());
    if (!price.price) {
        wxMessageDialog box(this, price.problem, GetTitle(), wxOK | wxICON_EXCLAMATION);
        box.ShowModal();
        m_priceField->SetFocus();
        m_priceField->SelectAll();
        return false;
    }
    if (!CHelpEditor::TransferDataFromWindow())
        return false;
    m_price = *price.price;
    m_name = ToModel(m_nameField->GetValue());
    m_marking = ToModel(m_markingField->GetValue());
    return true;
}

std::vector<CioType*> CioModuleProperty::PickSource() const {
    std::vector<CioType*> source;
    if (m_database != nullptr)
        for (const auto& kind : m_database->ioKinds.children)
            source.push_back(kind.get());
    return source;
}

void CioModuleProperty::ShowVariants(int select) {
    std::vector<wxString> names;
    for (const Row& row : m_rows)
        names.push_back(FromModel(row.copy->name));
    m_variants->ShowRows(names, select);
    ShowPoints(0);
}

CioVariant* CioModuleProperty::SelectedCopy() const {
    const int row = m_variants->Selected();
    return row >= 0 && row < static_cast<int>(m_rows.size()) ? m_rows[row].copy.get() : nullptr;
}

void CioModuleProperty::ShowPoints(int select) {
    const CioVariant* variant = SelectedCopy();
    m_points->ShowRows(variant != nullptr ? Names(variant->entries) : std::vector<wxString>(),
                       select);
}

void CioModuleProperty::InsertPoint(bool after) {
    CioVariant* variant = SelectedCopy();
    if (variant == nullptr)
        return;
    CioListDialog picker(this, PickSource());
    if (picker.ShowModal() != wxID_OK || picker.PickedObject() == nullptr)
        return;
    const auto at =
        std::min<size_t>(InsertPosition(m_points->Selected(), after), variant->entries.size());
    variant->entries.insert(variant->entries.begin() + at, picker.PickedObject());
    ShowPoints(static_cast<int>(at));
}

void CioModuleProperty::DeletePoint() {
    CioVariant* variant = SelectedCopy();
    const int row = m_points->Selected();
    if (variant == nullptr || row < 0 || row >= static_cast<int>(variant->entries.size()))
        return;
    variant->entries.erase(variant->entries.begin() + row);
    ShowPoints(row);
}

void CioModuleProperty::InsertVariant(bool after) {
    const auto at = std::min<size_t>(InsertPosition(m_variants->Selected(), after), m_rows.size());
    m_rows.insert(m_rows.begin() + at, Row{nullptr, std::make_unique<CioVariant>()});
    ShowVariants(static_cast<int>(at));
}

void CioModuleProperty::DeleteVariant() {
    const int row = m_variants->Selected();
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return;
    m_rows.erase(m_rows.begin() + row);
    ShowVariants(row);
}

void CioModuleProperty::EditVariant(int row) {
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return;
    CioVariant& copy = *m_rows[row].copy;
    CioVariantProperty dialog(this, copy, m_database, &m_module);
    if (dialog.ShowModal() != wxID_OK)
        return;
    dialog.ApplyTo(copy);
    m_variants->SetItem(row, 1, FromModel(copy.name));
}

void CioModuleProperty::ApplyTo(CioModul& module) {
    module.name = m_name;
    module.marking = m_marking;
    module.listPrice = m_price;
    module.help = Help();
    std::vector<std::unique_ptr<CioType>> previous = std::move(module.children);
    module.children.clear();
    auto take = [&previous](const CioType* object) {
        for (auto& owned : previous)
            if (owned.get() == object)
                return std::move(owned);
        return std::unique_ptr<CioType>();
    };
    for (Row& row : m_rows) {
        std::unique_ptr<CioType> kept = row.original != nullptr ? take(row.original) : nullptr;
        if (kept != nullptr) {
            kept->CopyFrom(row.copy.get());
            module.children.push_back(std::move(kept));
        } else {
            // Made in the dialog: the copy itself joins the module.
            module.children.push_back(std::move(row.copy));
        }
    }
    m_rows.clear();
    for (auto& removed : previous) {
        if (removed == nullptr)
            continue;
        // Only variants are ever rows; anything else the module held stays.
        if (dynamic_cast<CioVariant*>(removed.get()) == nullptr) {
            module.children.push_back(std::move(removed));
            continue;
        }
        // Rules of other variants may name a deleted one: they must not keep a dangling
        // reference, which the next save would write as a stale identity.
        if (m_database != nullptr)
            m_database->ForgetRef(removed.get());
        module.ForgetRef(removed.get());
    }
}

CioPlcProperty::CioPlcProperty(wxWindow* parent, const CioPlc& device, CioDb* database)
    : CioModuleProperty(parent, device, database, true), m_typeIndex(device.deviceType),
      m_speedIndex(device.ioSpeed), m_controlIndex(device.control),
      m_chosenSeries(device.series.object), m_vornet(device.HasVornet() != 0),
      m_kalbus(device.HasKalbus() != 0) {
    m_type = Choice(this, ID_DEVICE_TYPE, {UiText::TypeController, UiText::TypePeripheral});
    m_speed = Choice(this, ID_IO_SPEED, {UiText::SpeedHigh, UiText::SpeedLow});
    m_control = Choice(this, ID_CONTROL, {UiText::ControlStandard, UiText::ControlTerminal});
    m_series = new wxChoice(this, ID_SERIES);
    if (database != nullptr)
        for (const auto& child : database->seriesList.children)
            if (auto* series = dynamic_cast<CioLine*>(child.get())) {
                m_seriesRows.push_back(series);
                m_series->Append(FromModel(series->name));
            }
    wxSizer* extra = ExtraRow();
    extra->Add(Labelled(this, UiText::LabelType, m_type, 0), 1, wxRIGHT, 7);
    extra->Add(Labelled(this, UiText::LabelIoSpeed, m_speed, 0), 1, wxRIGHT, 7);
    extra->Add(Labelled(this, UiText::LabelControl, m_control, 0), 1, wxRIGHT, 7);
    extra->Add(Labelled(this, UiText::LabelSeries, m_series, 0), 2);

    m_networks = new NumberedList(this, ID_NETWORKS, Text(UiText::ColumnNetworks),
                                  DialogSize(this, 100, 80), true);
    m_networks->ShowRows({FromModel(Vornet().name), FromModel(Kalbus().name)}, -1);
    ListsRow()->Add(Labelled(this, UiText::LabelNetworks, m_networks), 0, wxEXPAND | wxLEFT, 7);
    // The space bar toggles the selected network; a click on a row, while the list has the
    // focus, toggles that row (a click on the box itself is the box's own).
    m_networks->Bind(wxEVT_LIST_KEY_DOWN, [this](wxListEvent& event) {
        const int row = m_networks->Selected();
        if (event.GetKeyCode() == WXK_SPACE && row >= 0)
            m_networks->CheckItem(row, !m_networks->IsItemChecked(row));
        else
            event.Skip();
    });
    // The rows are a window inside the list, whose coordinates the list's hit test takes; the
    // first column holds only the box.
    for (wxWindow* rows : m_networks->GetChildren())
        rows->Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent& event) {
            event.Skip();
            if (!m_networks->HasFocusWithin() ||
                event.GetPosition().x < m_networks->GetColumnWidth(0))
                return;
            int flags = 0;
            const long row = m_networks->HitTest(event.GetPosition(), flags);
            if (row != wxNOT_FOUND && (flags & wxLIST_HITTEST_ONITEM) != 0)
                m_networks->CheckItem(row, !m_networks->IsItemChecked(row));
        });
    GetSizer()->SetSizeHints(this);
}

std::vector<CioType*> CioPlcProperty::PickSource() const {
    std::vector<CioType*> source{&EmptyModule()};
    if (Database() != nullptr)
        for (const auto& module : Database()->modules.children)
            source.push_back(module.get());
    return source;
}

bool CioPlcProperty::TransferDataToWindow() {
    auto select = [](wxChoice* choice, int index) {
        choice->SetSelection(
            index >= 0 && index < static_cast<int>(choice->GetCount()) ? index : wxNOT_FOUND);
    };
    select(m_type, m_typeIndex);
    select(m_speed, m_speedIndex);
    select(m_control, m_controlIndex);
    const auto series = std::find(m_seriesRows.begin(), m_seriesRows.end(), m_chosenSeries);
    select(m_series, series == m_seriesRows.end()
                         ? wxNOT_FOUND
                         : static_cast<int>(series - m_seriesRows.begin()));
    m_networks->CheckItem(0, m_vornet);
    m_networks->CheckItem(1, m_kalbus);
    return CioModuleProperty::TransferDataToWindow();
}

bool CioPlcProperty::TransferDataFromWindow() {
    if (!CioModuleProperty::TransferDataFromWindow())
        return false;
    // No selection stores -1, as the combo boxes report it.
    m_typeIndex = m_type->GetSelection();
    m_speedIndex = m_speed->GetSelection();
    m_controlIndex = m_control->GetSelection();
    const int series = m_series->GetSelection();
    m_chosenSeries = series >= 0 ? m_seriesRows[series] : nullptr;
    m_vornet = m_networks->IsItemChecked(0);
    m_kalbus = m_networks->IsItemChecked(1);
    return true;
}

void CioPlcProperty::ApplyTo(CioPlc& device) {
    CioModuleProperty::ApplyTo(device);
    device.series.object = m_chosenSeries;
    device.series.storedId = 0;
    device.deviceType = m_typeIndex;
    device.ioSpeed = m_speedIndex;
    device.control = m_controlIndex;
    device.lines.RemoveAll();
    device.lines.resolved = 1;
    if (m_vornet)
        device.lines.entries.push_back(&Vornet());
    if (m_kalbus)
        device.lines.entries.push_back(&Kalbus());
}

} // namespace pinsum::ui
