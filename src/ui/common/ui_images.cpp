#include "common/ui_images.h"

#include <wx/dcmemory.h>
#include <wx/renderer.h>

#include "common/ui_ids.h"

#include "images/command_images.xpm"
#include "images/tree_images.xpm"

namespace pinsum::ui {
namespace {

constexpr int kImageSize = 16;
constexpr int kTreeImageCount = 9;

struct CommandImageIndex {
    int command;
    int index;
};

// Which image of the strip each command shows.
constexpr CommandImageIndex kCommandImages[] = {
    {ID_RESULT_SET_IO_NUMBER, 12}, {ID_CLEAR_INPUT_LIST, 23}, {ID_RESULT_RUN_COMPILE, 22},
    {ID_RESULT_PREVIOUS, 10},      {ID_RESULT_NEXT, 11},      {ID_SHOW_SOLUTION_DETAIL, 16},
    {ID_EXPORT_TO_CLIP, 17},       {ID_UPDATE_DATABASE, 24},  {ID_RESULT_HELP, 5},
    {ID_FORMAT_BOLD, 0},           {ID_FORMAT_ITALIC, 1},     {ID_FORMAT_UNDERLINE, 2},
    {ID_FORMAT_COLOUR, 3},         {ID_FORMAT_PICTURE, 4},    {ID_INSERT_POINT_BEFORE, 18},
    {ID_INSERT_POINT_AFTER, 19},   {ID_DELETE_POINT, 20},     {ID_INSERT_VARIANT_BEFORE, 10},
    {ID_INSERT_VARIANT_AFTER, 11}, {ID_DELETE_VARIANT, 9},
};

wxBitmap Cut(const wxBitmap& strip, int index, const wxColour& mask) {
    wxBitmap image = strip.GetSubBitmap(wxRect(index * kImageSize, 0, kImageSize, kImageSize));
    image.SetMask(new wxMask(image, mask));
    return image;
}

} // namespace

std::unique_ptr<wxImageList> CreateTreeImageList() {
    const wxBitmap strip(tree_images_xpm);
    auto list = std::make_unique<wxImageList>(kImageSize, kImageSize, true, kTreeImageCount);
    for (int i = 0; i < kTreeImageCount; ++i)
        list->Add(Cut(strip, i, *wxRED));
    return list;
}

std::unique_ptr<wxImageList> CreateCheckBoxImageList(wxWindow* window) {
    auto list = std::make_unique<wxImageList>(kImageSize, kImageSize, true, 2);
    for (const int flags : {0, static_cast<int>(wxCONTROL_CHECKED)}) {
        wxBitmap box(kImageSize, kImageSize);
        {
            wxMemoryDC dc(box);
            dc.SetBackground(*wxWHITE_BRUSH);
            dc.Clear();
            wxRendererNative::Get().DrawCheckBox(
                window, dc, wxRect(1, 1, kImageSize - 2, kImageSize - 2), flags);
        }
        box.SetMask(new wxMask(box, *wxWHITE));
        list->Add(box);
    }
    return list;
}

wxBitmap CommandImage(int command) {
    static const wxBitmap strip(command_images_xpm);
    for (const CommandImageIndex& entry : kCommandImages)
        if (entry.command == command)
            return Cut(strip, entry.index, wxColour(0, 128, 128));
    return wxBitmap();
}

} // namespace pinsum::ui
