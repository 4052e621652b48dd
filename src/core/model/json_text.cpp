#include "model/json_text.h"

#include <unordered_set>
#include <utility>
#include <vector>

#include "host/input_quote.h"
#include "host/message_language.h"
#include "host/program_texts.h"

namespace pinsum {
namespace {

using Json = nlohmann::ordered_json;

bool IsIdentifier(const std::string& key) {
    if (key.empty() || (key[0] >= '0' && key[0] <= '9'))
        return false;
    for (char c : key)
        if (!(c == '_' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
              (c >= '0' && c <= '9')))
            return false;
    return true;
}

// Builds the document from the parser's events. The library's own builder looks every key up
// in the ordered object it fills, which takes time quadratic in the number of keys; here a hash
// set per open object finds duplicates and the value is appended.
class DocumentBuilder {
public:
    using number_integer_t = Json::number_integer_t;
    using number_unsigned_t = Json::number_unsigned_t;
    using number_float_t = Json::number_float_t;
    using string_t = Json::string_t;
    using binary_t = Json::binary_t;

    bool null() { return Put(Json(nullptr)); }
    bool boolean(bool value) { return Put(Json(value)); }
    bool number_integer(number_integer_t value) { return Put(Json(value)); }
    bool number_unsigned(number_unsigned_t value) { return Put(Json(value)); }
    bool number_float(number_float_t value, const string_t&) { return Put(Json(value)); }
    bool string(string_t& value) { return Put(Json(std::move(value))); }
    bool binary(binary_t& value) { return Put(Json::binary(std::move(value))); }

    bool start_object(std::size_t) {
        m_open.push_back({Json::object(), {}, {}});
        return true;
    }
    bool key(string_t& key) {
        Open& object = m_open.back();
        if (!object.keys.insert(key).second) {
            const std::string path = Path();
            m_error = (path.empty() ? "" : path + ": ") +
                      FormatText(Translate("duplicate key %s"), {QuoteInput(key)});
            return false;
        }
        object.key = std::move(key);
        return true;
    }
    bool end_object() { return Close(); }
    bool start_array(std::size_t) {
        m_open.push_back({Json::array(), {}, {}});
        return true;
    }
    bool end_array() { return Close(); }

    bool parse_error(std::size_t, const std::string& lastToken,
                     const nlohmann::detail::exception& e) {
        // Without the library's "[json.exception.parse_error.101] " prefix, and with the token
        // it quotes shortened, its bytes that are no UTF-8 escaped.
        std::string what = e.what();
        const size_t start = what.find("] ");
        if (start != std::string::npos)
            what.erase(0, start + 2);
        const std::string quoted = "'" + lastToken + "'";
        if (const size_t at = what.find(quoted); !lastToken.empty() && at != std::string::npos)
            what.replace(at, quoted.size(), QuoteInput(ShowControls(lastToken)));
        m_error = FormatText(Translate("invalid JSON: %s"), {what});
        return false;
    }

    Json TakeDocument() { return std::move(m_document); }
    const std::string& Error() const { return m_error; }

private:
    struct Open {
        Json value;
        std::unordered_set<std::string> keys;
        std::string key; // of the value being read, in an object
    };

    bool Put(Json value) {
        if (m_open.empty()) {
            m_document = std::move(value);
            return true;
        }
        Open& parent = m_open.back();
        if (parent.value.is_array()) {
            parent.value.get_ref<Json::array_t&>().push_back(std::move(value));
            return true;
        }
        // Appended as to the vector the ordered object is, past its own linear search.
        using Entries = std::vector<std::pair<const std::string, Json>>;
        static_cast<Entries&>(parent.value.get_ref<Json::object_t&>())
            .emplace_back(std::move(parent.key), std::move(value));
        return true;
    }

    bool Close() {
        Json value = std::move(m_open.back().value);
        m_open.pop_back();
        return Put(std::move(value));
    }

    // The path of the innermost open object: a.b, a[3], a["key with spaces"].
    std::string Path() const {
        std::string path;
        for (size_t i = 0; i + 1 < m_open.size(); ++i) {
            const Open& parent = m_open[i];
            if (parent.value.is_array())
                path += "[" + std::to_string(parent.value.size()) + "]";
            else if (IsIdentifier(parent.key))
                path += (path.empty() ? "" : ".") + parent.key;
            else
                path += "[" + QuoteInput(parent.key, '"') + "]";
        }
        return path;
    }

    std::vector<Open> m_open;
    Json m_document;
    std::string m_error;
};

} // namespace

bool ParseJsonText(std::string_view text, nlohmann::ordered_json& value, std::string& error) {
    DocumentBuilder builder;
    if (!Json::sax_parse(text.begin(), text.end(), &builder)) {
        error = builder.Error();
        return false;
    }
    value = builder.TakeDocument();
    return true;
}

} // namespace pinsum
