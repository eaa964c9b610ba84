#include "ResultValues.h"

namespace {

// Tenths come out as numbers with a fraction (25.0), everything else whole.
CliResult Result(const std::string& name, ValueForm form, std::uint16_t word, std::string text) {
    const double number = ValueNumber(form, word);
    if (CodecOf(form).tenths) return CliResult::Success(name, number, text);
    return CliResult::Success(name, static_cast<long>(number), text);
}

}  // namespace

CliResult ReadingResult(const std::string& name, ValueForm form, std::uint16_t word) {
    std::string text = ValueText(form, word);
    // The window leaves a status field blank for a code it has no word for.
    if (text.find_first_not_of(' ') == std::string::npos) text = "unknown code " + std::to_string(word);
    return Result(name, form, word, text);
}

CliResult ParameterResult(const ParameterInfo& info, std::uint16_t word) {
    return Result(info.name, info.form, word, ValueText(info.form, word));
}

CliResult WholeResult(const std::string& name, unsigned value) {
    return CliResult::Success(name, value, std::to_string(value));
}
