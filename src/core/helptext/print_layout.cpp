#include "helptext/print_layout.h"

#include <algorithm>

namespace pinsum {

void CPrintLayout::Clear() {
    m_pages.clear();
}

void CPrintLayout::Rewind() {
    m_currentPage = m_pages.empty() ? -1 : 0;
    m_currentBox = 0;
    m_pageBreaks = 0;
}

void CPrintLayout::SetPageLimit(int32_t limit) {
    m_pageLimit = limit;
    m_pageBreaks = 0;
}

void CPrintLayout::AddBox(const LayoutRect& rect, bool newPage) {
    if (m_pages.empty() || newPage)
        m_pages.emplace_back();
    m_pages.back().push_back(rect);
}

void CPrintLayout::SetSingleBox(const LayoutRect& rect) {
    if (m_pages.size() > 1)
        Clear();
    if (m_pages.size() == 1) {
        std::vector<LayoutRect>& page = m_pages.front();
        page.resize(std::min<size_t>(page.size(), 1));
        if (page.empty())
            page.push_back(rect);
        else
            page.front() = rect;
    } else {
        AddBox(rect, true);
    }
    Rewind();
    SetPageLimit(0);
}

bool CPrintLayout::ClampCursor() {
    if (m_currentPage == -1 || m_pages.empty())
        return false;
    m_currentPage = std::clamp<int32_t>(m_currentPage, 0, static_cast<int32_t>(m_pages.size()) - 1);
    const std::vector<LayoutRect>& page = m_pages[static_cast<size_t>(m_currentPage)];
    return m_currentBox >= 0 && static_cast<size_t>(m_currentBox) < page.size();
}

int32_t CPrintLayout::Deliver(LayoutRect& out) const {
    out = m_pages[static_cast<size_t>(m_currentPage)][static_cast<size_t>(m_currentBox)];
    return m_noCount ? 0 : m_pageLimit - m_pageBreaks;
}

int32_t CPrintLayout::CurrentBox(LayoutRect& out) {
    return ClampCursor() ? Deliver(out) : -1;
}

int32_t CPrintLayout::NextBox(LayoutRect& out) {
    if (!ClampCursor())
        return -1;
    const int32_t lastBox =
        static_cast<int32_t>(m_pages[static_cast<size_t>(m_currentPage)].size()) - 1;
    if (m_currentBox < lastBox) {
        ++m_currentBox;
    } else {
        m_currentBox = 0;
        m_currentPage = std::min(m_currentPage + 1, static_cast<int32_t>(m_pages.size()) - 1);
        ++m_pageBreaks;
    }
    return ClampCursor() ? Deliver(out) : -1;
}

bool CPrintLayout::IsLastBoxOfPage() {
    if (!ClampCursor())
        return false;
    return static_cast<size_t>(m_currentBox) + 1 ==
           m_pages[static_cast<size_t>(m_currentPage)].size();
}

} // namespace pinsum
