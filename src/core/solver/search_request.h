#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/engine_error.h"

namespace pinsum {

class CioProject;

// A request that cannot be read or does not fit the catalogue; the message starts with the JSON
// path ("counts[\"DI 24V DC\"]: unknown IO kind 'DI 24V DC'").
class RequestError : public EngineError {
public:
    using EngineError::EngineError;
};

constexpr int32_t kMaxRequestedCount = 10000;

struct RequestedCount {
    std::string kind; // UTF-8, as written
    int32_t count = 0;
};

// What to search for, as a request file states it: the calculator's trees and slider in text form.
// Names are UTF-8, as written.
struct SearchRequest {
    // As written, possibly outside 0..6; the caller decides how to clamp it.
    std::optional<int64_t> level;
    std::vector<RequestedCount> counts;
    std::vector<std::string> terminalsEnabled;
    // None: the series offered by default, as the calculator starts.
    std::optional<std::vector<std::string>> series;
    std::vector<std::string> uncheckedDevices;
};

// Reads the request JSON; throws RequestError for bad JSON, unknown fields, wrong types and counts
// outside 0..kMaxRequestedCount.
SearchRequest ParseSearchRequest(std::string_view jsonText);

// A name the catalogue gives to several IO kinds or several series: a request cannot tell them
// apart, so the template leaves it out.
struct AmbiguousName {
    std::string name; // UTF-8
    int objects = 0;
    bool series = false;
};

// The request the calculator starts with, to edit: every IO kind of the catalogue at 0, terminal
// kinds included, none of them enabled, the series offered by default, level 0. Names shared by
// several kinds or series are left out and added to leftOut when it is given.
SearchRequest TemplateRequest(const CioProject& project,
                              std::vector<AmbiguousName>* leftOut = nullptr);

// The request as JSON text, in the form ParseSearchRequest reads, ending with a line feed.
std::string SearchRequestJson(const SearchRequest& request);

// Sets the request counts (kinds not named get 0), enables exactly the named terminal kinds, checks
// the series and their devices and then unchecks the named devices. Throws RequestError for a name
// the project's catalogue does not have exactly once, before anything is changed.
void ApplySearchRequest(const SearchRequest& request, CioProject& project);

} // namespace pinsum
