#include "ReceiverTableCsv.h"

#include <vector>

namespace {

constexpr std::string_view kHeader = "address,configured";
// What a spreadsheet may put before the first cell of a UTF-8 file.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

bool IsConfigured(const ReceiverBitmap& table, std::size_t index) { return (table[index / 8] >> (index % 8) & 1U) != 0; }

std::string ReceiverTableCsv(const ReceiverBitmap& table) {
    std::string csv = std::string(kHeader) + "\n";
    for (std::size_t index = 0; index < kReceiverAddresses; ++index) {
        csv += std::to_string(index + 1) + (IsConfigured(table, index) ? ",yes\n" : ",no\n");
    }
    return csv;
}

Checked<ReceiverBitmap> ParseReceiverTableCsv(std::string_view text) {
    using Result = Checked<ReceiverBitmap>;
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    ReceiverBitmap table{};
    std::vector<bool> listed(kReceiverAddresses, false);
    bool headerSeen = false;
    int lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = Trimmed(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNumber;
        if (line.empty()) continue;
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        if (!headerSeen) {
            if (line != kHeader) return Result::Refused(where + "the table starts with the line " + std::string(kHeader));
            headerSeen = true;
            continue;
        }
        const std::size_t comma = line.find(',');
        if (comma == std::string_view::npos || line.find(',', comma + 1) != std::string_view::npos) {
            return Result::Refused(where + "takes an address and yes or no, as in \"2,yes\"");
        }
        const Checked<std::uint8_t> index = StrictReceiverIndex(Trimmed(line.substr(0, comma)));
        if (!index.Ok()) return Result::Refused(where + index.refusal);
        if (listed[*index.value]) return Result::Refused(where + "address " + std::to_string(*index.value + 1) + " is listed twice");
        listed[*index.value] = true;
        const std::string_view configured = Trimmed(line.substr(comma + 1));
        if (configured == "yes") {
            table[*index.value / 8] |= static_cast<std::uint8_t>(1U << (*index.value % 8));
        } else if (configured != "no") {
            return Result::Refused(where + "configured takes yes or no, not \"" + std::string(configured) + "\"");
        }
    }
    if (!headerSeen) return Result::Refused("empty: the table starts with the line " + std::string(kHeader));
    return {table, {}};
}
