#pragma once

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace pinsum {

// JSON text read in time linear in its length into the ordered form that the catalogue and the
// request use. An object that holds a key twice is refused, so that no value is dropped unseen.
// False on failure, with the reason in error: "invalid JSON: ..." or the path of the object and
// "duplicate key 'k'". Quoted input in the reason is shortened.
bool ParseJsonText(std::string_view text, nlohmann::ordered_json& value, std::string& error);

} // namespace pinsum
