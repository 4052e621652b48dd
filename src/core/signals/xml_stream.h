#pragma once

#include <exception>
#include <string>
#include <string_view>

struct XML_ParserStruct;

namespace pinsum {

// What an XML part's reader is told, with element and attribute names stripped of their
// namespaces ("row", "id"), so that prefixed and unprefixed spreadsheets read alike.
class XmlHandler {
public:
    virtual ~XmlHandler() = default;
    // attributes: pairs of local name and value, ended by a null pointer.
    virtual void Start(std::string_view name, const char** attributes) = 0;
    virtual void End(std::string_view name) = 0;
    virtual void Text(std::string_view text) = 0;
};

// The value of the attribute of that local name, or none.
const char* XmlAttribute(const char** attributes, std::string_view name);

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
