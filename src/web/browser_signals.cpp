// The page's engine reads signal lists as the desktop does, except for what the libraries under
// it do there: the zip container and the XML of an XLSX file are read by the page's pinsumXlsx
// (fflate and sax) and handed back here as events, and names are folded by the browser's own
// Unicode tables. Workbook, shared strings, sheet, limits and messages stay the engine's.
#include "browser_signals.h"

#include <emscripten/val.h>

#include <exception>
#include <vector>

#include "host/input_quote.h"
#include "signals/signal_list_error.h"
#include "signals/signal_text.h"
#include "signals/xlsx_parts.h"

namespace pinsum::web {
namespace {

using emscripten::val;

// Hands the page's events of one part to its handler. The page parses one part at a time,
// called from the engine, so the part being parsed is the one feed that exists.
class XmlFeed {
public:
    XmlFeed(XmlHandler& handler, const std::string& fileName, const std::string& part)
        : m_handler(handler), m_file(fileName), m_part(part) {
        s_current = this;
    }
    ~XmlFeed() { s_current = nullptr; }
    XmlFeed(const XmlFeed&) = delete;
    XmlFeed& operator=(const XmlFeed&) = delete;

    static XmlFeed* Current() { return s_current; }

    // Exceptions must not cross the page's JavaScript frames: kept, and rethrown once the page
    // has given the part up.
    bool Feed(const std::string& batch) {
        if (m_failure)
            return false;
        try {
            Dispatch(batch);
            return true;
        } catch (...) {
            m_failure = std::current_exception();
            return false;
        }
    }

    void RethrowFailure() const {
        if (m_failure)
            std::rethrow_exception(m_failure);
    }

private:
    void Dispatch(const std::string& batch) {
        std::string_view start;
        bool pending = false;
        std::vector<const char*> attributes;
        auto startElement = [&] {
            if (!pending)
                return;
            attributes.push_back(nullptr);
            m_handler.Start(start, attributes.data());
            attributes.clear();
            pending = false;
        };
        for (size_t at = 0; at < batch.size();) {
            size_t end = batch.find('\0', at);
            if (end == std::string::npos)
                end = batch.size();
            // Every token ends with a NUL, so its text is a C string for the attributes too.
            const char* payload = batch.data() + at + 1;
            const std::string_view text(payload, end - at - 1);
            switch (batch[at]) {
            case '=':
            case '"':
                attributes.push_back(payload);
                break;
            case '<':
                startElement();
                start = text;
                pending = true;
                break;
            case '>':
                startElement();
                m_handler.End(text);
                break;
            case 't':
                startElement();
                m_handler.Text(text);
                break;
            case '!':
                throw SignalListError("the part " + QuoteInput(m_part) +
                                          " declares a document type, which no spreadsheet writes",
                                      SignalPlace{m_file, "", 0, 0});
            default:
                break;
            }
            at = end + 1;
        }
        startElement();
    }

    static inline XmlFeed* s_current = nullptr;
    XmlHandler& m_handler;
    const std::string& m_file;
    const std::string& m_part;
    std::exception_ptr m_failure;
};

class BrowserXlsxParts : public XlsxParts {
public:
    BrowserXlsxParts(std::span<const uint8_t> bytes, const std::string& fileName,
                     const SignalLimits& limits)
        : m_file(fileName), m_reader(val::global("pinsumXlsx")) {
        if (m_reader.isUndefined())
            Fail("this page has no reader of XLSX files");
        // The page copies the bytes at once: a view of the engine's memory lasts only until it
        // grows.
        const val answer = m_reader.call<val>(
            "open", val(emscripten::typed_memory_view(bytes.size(), bytes.data())),
            static_cast<double>(limits.zipEntries));
        const std::string kind = answer["kind"].as<std::string>();
        if (kind == "entries")
            Fail("the zip container holds more than " + std::to_string(limits.zipEntries) +
                 " parts");
        if (!kind.empty())
            Fail("not an XLSX file, or a damaged one: " + answer["detail"].as<std::string>());
    }
    ~BrowserXlsxParts() override { m_reader.call<void>("close"); }

    bool Has(const std::string& part) const override { return m_reader.call<bool>("has", part); }

    void Parse(const std::string& part, size_t maxBytes, XmlHandler& handler) const override {
        if (!Has(part))
            Fail("the part " + QuoteInput(part) + " is missing");
        XmlFeed feed(handler, m_file, part);
        const val answer = m_reader.call<val>("parse", part, static_cast<double>(maxBytes));
        feed.RethrowFailure();
        const std::string kind = answer["kind"].as<std::string>();
        if (kind == "large")
            Fail("part " + QuoteInput(part) + " is larger than " + std::to_string(maxBytes >> 20) +
                 " MB uncompressed");
        if (kind == "missing")
            Fail("the part " + QuoteInput(part) + " is missing");
        if (!kind.empty())
            Fail("the part " + QuoteInput(part) +
                 " is damaged: " + answer["detail"].as<std::string>());
    }

private:
    [[noreturn]] void Fail(const std::string& detail) const {
        throw SignalListError(detail, SignalPlace{m_file, "", 0, 0});
    }

    std::string m_file;
    val m_reader;
};

} // namespace

bool FeedXmlEvents(const std::string& batch) {
    XmlFeed* feed = XmlFeed::Current();
    return feed != nullptr && feed->Feed(batch);
}

} // namespace pinsum::web

namespace pinsum {

std::unique_ptr<XlsxParts> OpenXlsxParts(std::span<const uint8_t> bytes,
                                         const std::string& fileName, const SignalLimits& limits) {
    return std::make_unique<web::BrowserXlsxParts>(bytes, fileName, limits);
}

// Upper case first, so that the lower case that follows folds as case folding does ("ß" is "ss").
std::string FoldedNormalForm(std::string_view utf8) {
    return emscripten::val(std::string(utf8))
        .call<emscripten::val>("toUpperCase")
        .call<emscripten::val>("toLowerCase")
        .call<std::string>("normalize", std::string("NFC"));
}

} // namespace pinsum
