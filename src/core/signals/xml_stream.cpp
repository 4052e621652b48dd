#include "signals/xml_stream.h"

#include <climits>
#include <cstring>

#include <expat.h>

#include "host/input_quote.h"
#include "signals/signal_list_error.h"

namespace pinsum {

template <class Call> void XmlStream::Guarded(Call&& call) {
    if (m_failure)
        return;
    try {
        call(m_handler);
    } catch (...) {
        // Exceptions must not cross expat's C frames: kept, the parse stopped, rethrown after.
        m_failure = std::current_exception();
        XML_StopParser(m_parser, XML_FALSE);
    }
}

namespace {

constexpr char kNamespaceSeparator = '\x01';

std::string_view LocalName(const char* name) {
    const char* local = std::strrchr(name, kNamespaceSeparator);
    return local != nullptr ? std::string_view(local + 1) : std::string_view(name);
}

XmlStream& StreamOf(void* data) {
    return *static_cast<XmlStream*>(data);
}

void OnStart(void* data, const char* name, const char** attributes) {
    StreamOf(data).Guarded(
        [&](XmlHandler& handler) { handler.Start(LocalName(name), attributes); });
}

void OnEnd(void* data, const char* name) {
    StreamOf(data).Guarded([&](XmlHandler& handler) { handler.End(LocalName(name)); });
}

void OnText(void* data, const char* text, int length) {
    StreamOf(data).Guarded([&](XmlHandler& handler) {
        handler.Text(std::string_view(text, static_cast<size_t>(length)));
    });
}

void OnDoctype(void* data, const char*, const char*, const char*, int) {
    StreamOf(data).RefuseDoctype();
}

} // namespace

XmlStream::XmlStream(XmlHandler& handler, const std::string& fileName, const std::string& part)
    : m_handler(handler), m_file(fileName), m_part(part),
      m_parser(XML_ParserCreateNS(nullptr, kNamespaceSeparator)) {
    if (m_parser == nullptr)
        throw std::bad_alloc();
    XML_SetUserData(m_parser, this);
    XML_SetElementHandler(m_parser, OnStart, OnEnd);
    XML_SetCharacterDataHandler(m_parser, OnText);
    XML_SetStartDoctypeDeclHandler(m_parser, OnDoctype);
}

XmlStream::~XmlStream() {
    XML_ParserFree(m_parser);
}

void XmlStream::RefuseDoctype() {
    if (!m_failure)
        m_failure =
            std::make_exception_ptr(SignalListError("the part " + QuoteInput(m_part) +
                                                        " declares a document type, which no "
                                                        "spreadsheet writes",
                                                    SignalPlace{m_file, "", 0, 0}));
    XML_StopParser(m_parser, XML_FALSE);
}

void XmlStream::Feed(std::string_view bytes) {
    while (bytes.size() > INT_MAX) {
        Parse(bytes.data(), INT_MAX, false);
        bytes.remove_prefix(INT_MAX);
    }
    Parse(bytes.data(), static_cast<int>(bytes.size()), false);
}

void XmlStream::Finish() {
    Parse(nullptr, 0, true);
}

void XmlStream::Parse(const char* data, int size, bool last) {
    const XML_Status status = XML_Parse(m_parser, data, size, last ? XML_TRUE : XML_FALSE);
    if (m_failure)
        std::rethrow_exception(m_failure);
    if (status != XML_STATUS_OK)
        throw SignalListError("the part " + QuoteInput(m_part) +
                                  " is damaged: " + XML_ErrorString(XML_GetErrorCode(m_parser)) +
                                  " at line " + std::to_string(XML_GetCurrentLineNumber(m_parser)),
                              SignalPlace{m_file, "", 0, 0});
}

} // namespace pinsum
