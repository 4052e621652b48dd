#pragma once

#include <exception>
#include <string>
#include <string_view>

#include "signals/xlsx_parts.h"

struct XML_ParserStruct;

namespace pinsum {

// An XML part parsed by expat as its bytes arrive. A document type declaration is refused, so
// that no entity can be declared or expanded. An exception thrown by the handler stops the parse
// and leaves Feed or Finish; expat's own errors are SignalListErrors naming the part and line.
class XmlStream {
public:
    XmlStream(XmlHandler& handler, const std::string& fileName, const std::string& part);
    ~XmlStream();
    XmlStream(const XmlStream&) = delete;
    XmlStream& operator=(const XmlStream&) = delete;

    void Feed(std::string_view bytes);
    // The end of the part: fails for a document left open.
    void Finish();

    // For expat's callbacks only: runs the call on the handler unless the parse has failed.
    template <class Call> void Guarded(Call&& call);
    void RefuseDoctype();

private:
    void Parse(const char* data, int size, bool last);

    XmlHandler& m_handler;
    std::string m_file;
    std::string m_part;
    XML_ParserStruct* m_parser;
    std::exception_ptr m_failure;
};

} // namespace pinsum
