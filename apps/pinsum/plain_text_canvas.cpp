#include "plain_text_canvas.h"

#include <algorithm>
#include <map>

namespace pinsum::cli {

TextExtent PlainTextCanvas::MeasureText(std::string_view text) {
    return {static_cast<int>(text.size()) * kCharacterWidth, 15};
}

void PlainTextCanvas::DrawText(int x, int y, std::string_view text) {
    m_pieces.push_back({x, y, std::string(text)});
}

void PlainTextCanvas::DrawBitmap(const Image& image, const LayoutRect& target) {
    m_pieces.push_back({target.left, target.top,
                        "[obr\xE1zek " + std::to_string(image.width) + "x" +
                            std::to_string(image.height) + " px]"});
}

std::string PlainTextCanvas::Text() const {
    std::map<int, std::string> rows;
    for (const Piece& piece : m_pieces) {
        std::string& row = rows[(piece.y + kLineHeight / 2) / kLineHeight];
        const size_t column = static_cast<size_t>(std::max(piece.x, 0) / kCharacterWidth);
        if (row.size() < column)
            row.resize(column, ' ');
        row += piece.text;
    }
    std::string text;
    int next = 0;
    for (auto& [index, row] : rows) {
        if (index > next && next > 0)
            text += '\n';
        row.erase(row.find_last_not_of(' ') + 1);
        text += row + '\n';
        next = index + 1;
    }
    return text;
}

} // namespace pinsum::cli
