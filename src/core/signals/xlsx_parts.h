#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "signals/signal_limits.h"

namespace pinsum {

// What an XML part's reader is told, with element and attribute names stripped of their
// namespaces ("row", "id"), so that prefixed and unprefixed spreadsheets read alike.
class XmlHandler {
public:
    virtual ~XmlHandler() = default;
    // attributes: pairs of name and value, ended by a null pointer; a name may still carry its
    // namespace before a '\x01', as expat gives it.
    virtual void Start(std::string_view name, const char** attributes) = 0;
    virtual void End(std::string_view name) = 0;
    virtual void Text(std::string_view text) = 0;
};

// The value of the attribute of that local name, or none.
const char* XmlAttribute(const char** attributes, std::string_view name);

// The parts of an XLSX file: the XML documents in its zip container.
class XlsxParts {
public:
    virtual ~XlsxParts() = default;
    // Part names compare without letter case, as the spreadsheets that write them do.
    virtual bool Has(const std::string& part) const = 0;
    // Parses the part's XML as its bytes are inflated and hands the handler what it finds. A
    // document type declaration is refused, so that no entity can be declared or expanded.
    // Throws SignalListError, naming the part, when it is missing, damaged, larger than maxBytes
    // uncompressed (the declared size is checked first and the bytes inflated are counted, since
    // a declared size can lie) or no well-formed XML; an exception of the handler leaves Parse.
    virtual void Parse(const std::string& part, size_t maxBytes, XmlHandler& handler) const = 0;
};

// Opens the zip container of an XLSX file's bytes, which must outlive the parts. Throws
// SignalListError for bytes that are no zip file or hold more than limits.zipEntries parts. The
// platform defines it: libzip and expat natively, the browser's readers in the page.
std::unique_ptr<XlsxParts> OpenXlsxParts(std::span<const uint8_t> bytes,
                                         const std::string& fileName, const SignalLimits& limits);

} // namespace pinsum
