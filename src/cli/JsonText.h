#pragma once
// A JSON document as one line of text. Texts from the system (a path, an
// error message in the machine's code page) need not be UTF-8: their bad
// bytes become U+FFFD instead of ending the run.

#include <string>

#include <nlohmann/json.hpp>

inline std::string JsonText(const nlohmann::ordered_json& document) {
    return document.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}
