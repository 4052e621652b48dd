#include "host/name_hint.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <utility>

#include "host/input_quote.h"
#include "host/message_language.h"
#include "host/program_texts.h"

namespace pinsum {
namespace {

constexpr size_t kMaxHints = 3;

std::string Folded(std::string_view text) {
    std::string folded(text);
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

size_t EditDistance(const std::string& a, const std::string& b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t above = row[j];
            row[j] = std::min({above + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}

} // namespace

std::vector<std::string> ClosestNames(std::string_view typed,
                                      const std::vector<std::string>& names) {
    const std::string wanted = Folded(typed);
    const size_t allowed = wanted.size() / 3;
    std::vector<std::pair<size_t, size_t>> close; // distance, index
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string name = Folded(names[i]);
        const size_t gap =
            name.size() > wanted.size() ? name.size() - wanted.size() : wanted.size() - name.size();
        const bool contains = wanted.size() >= 3 && name.find(wanted) != std::string::npos;
        // The length difference bounds the distance from below, which spares computing it for
        // an input far longer than any name.
        if (!contains && gap > allowed)
            continue;
        const size_t distance = EditDistance(wanted, name);
        if (contains || distance <= allowed)
            close.emplace_back(distance, i);
    }
    std::stable_sort(close.begin(), close.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> closest;
    for (const auto& [distance, index] : close)
        if (closest.size() < kMaxHints &&
            std::find(closest.begin(), closest.end(), names[index]) == closest.end())
            closest.push_back(names[index]);
    return closest;
}

std::string DidYouMean(const std::vector<std::string>& cp1250Names) {
    if (cp1250Names.empty())
        return "";
    std::string names;
    for (size_t i = 0; i < cp1250Names.size(); ++i) {
        if (i > 0)
            names += i + 1 == cp1250Names.size() ? Translate(" or ") : ", ";
        names += QuoteCp1250Input(cp1250Names[i]);
    }
    return FormatText(Translate(" (did you mean %s?)"), {names});
}

} // namespace pinsum
