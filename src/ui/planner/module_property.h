#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <wx/choice.h>
#include <wx/textctrl.h>

#include "helptext/help_editor.h"
#include "model/currency.h"
#include "planner/numbered_list.h"

namespace pinsum {
class CioDb;
class CioLine;
class CioModul;
class CioPlc;
class CioType;
class CioVariant;
} // namespace pinsum

namespace pinsum::ui {

// "Vlastnosti IO modulu" (dialog 4054): name, modular marking, price, help and the IO variants
// of a module, each with its IO points. The variants are edited as working copies; ApplyTo
// writes them back in row order after OK, so that "Storno" leaves the module as it was.
class CioModuleProperty : public CHelpEditor {
public:
    CioModuleProperty(wxWindow* parent, const CioModul& module, CioDb* database);
    ~CioModuleProperty() override;

    // Writes name, marking, price, help and the variants back. Variants whose rows were deleted
    // leave the module and are forgotten by the database (nothing refers to them any more)
    // before they are destroyed; variants made in the dialog join the module.
    void ApplyTo(CioModul& module);

    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;

    // Commands 52076 to 52081 and the double click on a variant.
    void InsertPoint(bool after);
    void DeletePoint();
    void InsertVariant(bool after);
    void DeleteVariant();
    void EditVariant(int row);

    wxTextCtrl* NameField() const { return m_nameField; }
    wxTextCtrl* MarkingField() const { return m_markingField; }
    wxTextCtrl* PriceField() const { return m_priceField; }
    NumberedList* Variants() const { return m_variants; }
    NumberedList* Points() const { return m_points; }

protected:
    // The device dialog: other texts, and room for its own controls in the row given back.
    CioModuleProperty(wxWindow* parent, const CioModul& module, CioDb* database, bool device);
    // The objects the IO point pick list offers.
    virtual std::vector<CioType*> PickSource() const;
    wxSizer* ListsRow() const { return m_listsRow; }
    wxSizer* ExtraRow() const { return m_extraRow; }
    CioDb* Database() const { return m_database; }

private:
    struct Row {
        CioVariant* original; // none for a variant made in the dialog
        std::unique_ptr<CioVariant> copy;
    };

    void Build(bool device);
    void BindCommands(bool device);
    void ShowVariants(int select);
    void ShowPoints(int select);
    CioVariant* SelectedCopy() const;
    void OnUpdateCommand(wxUpdateUIEvent& event);
    void PopupCommands(NumberedList* list);

    const CioModul& m_module;
    CioDb* m_database;
    std::vector<Row> m_rows;
    std::string m_name;
    std::string m_marking;
    Currency m_price;
    wxTextCtrl* m_nameField = nullptr;
    wxTextCtrl* m_markingField = nullptr;
    wxTextCtrl* m_priceField = nullptr;
    NumberedList* m_variants = nullptr;
    NumberedList* m_points = nullptr;
    wxSizer* m_listsRow = nullptr;
    wxSizer* m_extraRow = nullptr;
};

// "Vlastnosti IO zařízení" (dialog 4058): the module dialog for a controller or peripheral, whose
// variants are its IO positions and whose position entries are the modules that fit there; with
// type, IO speed, control, series and the two networks.
class CioPlcProperty : public CioModuleProperty {
public:
    CioPlcProperty(wxWindow* parent, const CioPlc& device, CioDb* database);

    void ApplyTo(CioPlc& device);

    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;

    wxChoice* TypeChoice() const { return m_type; }
    wxChoice* SpeedChoice() const { return m_speed; }
    wxChoice* ControlChoice() const { return m_control; }
    wxChoice* SeriesChoice() const { return m_series; }
    NumberedList* Networks() const { return m_networks; }

protected:
    std::vector<CioType*> PickSource() const override;

private:
    std::vector<CioLine*> m_seriesRows;
    int m_typeIndex;
    int m_speedIndex;
    int m_controlIndex;
    CioLine* m_chosenSeries;
    bool m_vornet;
    bool m_kalbus;
    wxChoice* m_type;
    wxChoice* m_speed;
    wxChoice* m_control;
    wxChoice* m_series;
    NumberedList* m_networks;
};

// A price as the user types it: digits with a decimal point or comma, at most four decimal
// places, within the catalogue's range. Nothing, with the message to show, otherwise.
struct PriceInput {
    std::optional<Currency> price;
    wxString problem;
};
PriceInput ParsePriceInput(const wxString& text);

} // namespace pinsum::ui
