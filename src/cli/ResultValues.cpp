#include "ResultValues.h"

namespace {

// Tenths come out as numbers with a fraction (25.0), everything else whole.
bool InTenths(ReadingForm form) { return form == ReadingForm::SignedTenths || form == ReadingForm::UnsignedTenths; }
bool InTenths(ValueForm form) { return form == ValueForm::Adjust || form == ValueForm::Hysteresis; }

}  // namespace

CliResult ReadingResult(const std::string& name, ReadingForm form, std::uint16_t word) {
    const double number = ReadingNumber(form, word);
    std::string text = ReadingText(form, word);
    // The window leaves a status field blank for a code it has no word for.
    if (text.find_first_not_of(' ') == std::string::npos) text = "unknown code " + std::to_string(word);
    if (InTenths(form)) return CliResult::Success(name, number, text);
    return CliResult::Success(name, static_cast<long>(number), text);
}

CliResult ParameterResult(const ParameterInfo& info, std::uint16_t word) {
    const double number = ParameterNumber(info.form, word);
    const std::string text = ParameterText(info.form, word);
    if (InTenths(info.form)) return CliResult::Success(info.name, number, text);
    return CliResult::Success(info.name, static_cast<long>(number), text);
}

CliResult WholeResult(const std::string& name, unsigned value) {
    return CliResult::Success(name, value, std::to_string(value));
}
