#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "host/engine_error.h"
#include "model/currency.h"

namespace pinsum {

class CioDb;

// The catalogue's JSON form keeps its keys in the written order, so that files read well and
// diff cleanly.
using CatalogueJson = nlohmann::ordered_json;

// A catalogue that cannot be turned into JSON or back; the message starts with the JSON path
// ("devices[3].positions[1]: unknown module 'X'").
class JsonError : public EngineError {
public:
    using EngineError::EngineError;
};

// The canonical JSON form of a catalogue whose references are resolved; every catalogue that the
// file reader loads has one. Throws JsonError when an object sits where the form has no place for
// it (a list entry of another class, a reference to an object that is in no list).
CatalogueJson CatalogueToJson(const CioDb& db);
// JSON text with a two-space indent and a final line feed.
std::string CatalogueToJsonText(const CioDb& db);

// A new catalogue built from its JSON form, references resolved and totals computed.
std::unique_ptr<CioDb> CatalogueFromJson(const CatalogueJson& json);
std::unique_ptr<CioDb> CatalogueFromJsonText(std::string_view text);

} // namespace pinsum
