#include "signals/kind_mapping.h"

#include <algorithm>

#include <nlohmann/json.hpp>

#include "host/input_quote.h"
#include "host/name_hint.h"
#include "host/text_codec.h"
#include "model/cio_db.h"
#include "model/json_text.h"
#include "signals/signal_list_error.h"
#include "signals/signal_text.h"

namespace pinsum {
namespace {

constexpr size_t kMaxHints = 3;

std::string ComposedKey(std::string_view utf8) {
    return NameKey(TrimBlanks(utf8));
}

// The key without blanks and dashes, so that a short type ("AI4") finds the name it abbreviates
// ("AI 4-20mA").
std::string CompactKey(std::string_view utf8) {
    std::string compact;
    for (char c : ComposedKey(utf8))
        if (c != ' ' && c != '-' && c != '_' && c != '/' && c != '.')
            compact += c;
    return compact;
}

} // namespace

KindIndex::KindIndex(const CioDb& catalogue) {
    for (const auto& child : catalogue.ioKinds.children) {
        m_byKey[ComposedKey(Cp1250ToUtf8(child->name))].push_back(child.get());
        m_names.push_back(child->name);
    }
}

const CioType* KindIndex::Find(std::string_view utf8) const {
    const auto found = m_byKey.find(ComposedKey(utf8));
    if (found == m_byKey.end())
        return nullptr;
    if (found->second.size() == 1)
        return found->second.front();
    const std::string exact = Utf8ToCp1250(TrimBlanks(utf8));
    const CioType* match = nullptr;
    for (const CioType* kind : found->second)
        if (kind->name == exact) {
            if (match != nullptr)
                return nullptr;
            match = kind;
        }
    return match;
}

std::vector<std::string> KindIndex::Hints(std::string_view utf8) const {
    std::vector<std::string> hints;
    if (!IsCp1250Representable(utf8))
        return hints;
    for (const std::string& name : ClosestNames(Utf8ToCp1250(TrimBlanks(utf8)), m_names))
        hints.push_back(Cp1250ToUtf8(name));
    // Signal lists abbreviate: "DI" hints at every name that starts so.
    const std::string compact = CompactKey(utf8);
    for (size_t i = 0; i < m_names.size() && hints.size() < kMaxHints && compact.size() >= 2; ++i) {
        const std::string name = Cp1250ToUtf8(m_names[i]);
        if (CompactKey(name).starts_with(compact) &&
            std::find(hints.begin(), hints.end(), name) == hints.end())
            hints.push_back(name);
    }
    return hints;
}

KindMap KindMap::Parse(std::string_view json, const std::string& fileName, const KindIndex& kinds) {
    const auto fail = [&](const std::string& detail) -> void {
        throw SignalListError(detail, SignalPlace{fileName, "", 0, 0});
    };
    nlohmann::ordered_json value;
    std::string error;
    if (!ParseJsonText(json, value, error))
        fail(error);
    if (!value.is_object())
        fail("expected a JSON object of signal types and IO kinds");
    KindMap map;
    for (const auto& [type, target] : value.items()) {
        const std::string path = "[" + QuoteInput(type, '"') + "]";
        if (InvalidUtf8At(type) != std::string_view::npos || TrimBlanks(type).empty())
            fail(path + ": expected a signal type");
        const CioType* kind = nullptr;
        if (target.is_string()) {
            const std::string name = target.get<std::string>();
            kind = kinds.Find(name);
            if (kind == nullptr) {
                std::vector<std::string> hints;
                for (const std::string& hint : kinds.Hints(name))
                    hints.push_back(Utf8ToCp1250(hint));
                fail(path + ": unknown IO kind " + QuoteInput(name) + DidYouMean(hints));
            }
        } else if (!target.is_null()) {
            fail(path + ": expected the name of an IO kind, or null for rows that are no IO point");
        }
        const auto [at, added] = map.m_entries.emplace(ComposedKey(type), Entry{type, kind});
        if (!added)
            fail(path + ": the same type as " + QuoteInput(at->second.type));
    }
    return map;
}

const KindMap::Entry* KindMap::Find(std::string_view utf8) const {
    const auto found = m_entries.find(ComposedKey(utf8));
    return found != m_entries.end() ? &found->second : nullptr;
}

} // namespace pinsum
