#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "helptext/layout_rect.h"

namespace pinsum {

// The boxes the help layout flows into: pages of rectangles, walked in order by a cursor that
// counts the page breaks it takes against a limit.
class CPrintLayout {
public:
    // Forgets every box; the cursor fields stay as they are.
    void Clear();
    // Puts the cursor on the first box of the first page.
    void Rewind();
    void SetPageLimit(int32_t limit);
    // When set, the cursor operations report 0 instead of the pages left.
    void SetNoCount(bool noCount) { m_noCount = noCount; }
    void AddBox(const LayoutRect& rect, bool newPage);
    // One page of one box, rewound, with a page limit of 0.
    void SetSingleBox(const LayoutRect& rect);

    // The results are the pages left, negative once more page breaks were taken than the limit
    // allows, or -1 with out untouched when there is no box under the cursor.
    int32_t CurrentBox(LayoutRect& out);
    // On the last box of a page, moves to the next page (staying on the last page) and counts a
    // page break.
    int32_t NextBox(LayoutRect& out);
    bool IsLastBoxOfPage();

    size_t PageCount() const { return m_pages.size(); }

private:
    bool ClampCursor();
    int32_t Deliver(LayoutRect& out) const;

    std::vector<std::vector<LayoutRect>> m_pages;
    int32_t m_currentPage = -1;
    int32_t m_currentBox = 0;
    int32_t m_pageBreaks = 0;
    int32_t m_pageLimit = -1;
    bool m_noCount = false;
};

} // namespace pinsum
