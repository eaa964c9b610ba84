#pragma once
// A value checked strictly, or the words that say why it was refused.

#include <optional>
#include <string>
#include <utility>

template <class T>
struct Checked {
    std::optional<T> value;
    std::string refusal;  // why, when there is no value

    bool Ok() const { return value.has_value(); }
    static Checked Refused(std::string why) { return {std::nullopt, std::move(why)}; }
};
