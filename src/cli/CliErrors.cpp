#include "CliErrors.h"

#include "JsonText.h"

void PrintRunError(std::ostream& out, std::ostream& err, bool json, std::string_view message) {
    err << "sentrabus-cli: " << message << std::endl;
    if (json) out << JsonText(nlohmann::ordered_json{{"error", message}}) << std::endl;
}
