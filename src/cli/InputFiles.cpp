#include "InputFiles.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "device/CsvFile.h"
#include "device/Monitor.h"
#include "device/FilePath.h"
#include "device/SmallFile.h"
#include "ReceiverTableCsv.h"

namespace {

namespace fs = std::filesystem;

// The refusal starts with the file's name, as given (UTF-8).
Checked<std::string> ReadNamedFile(const std::string& path) {
    Checked<std::string> text = ReadSmallFile(FilePath(path));
    if (!text.Ok()) text.refusal = path + ": " + text.refusal;
    return text;
}

template <class T>
Checked<T> Named(const std::string& path, Checked<T> checked) {
    if (!checked.Ok()) checked.refusal = path + ": " + checked.refusal;
    return checked;
}

}  // namespace

Checked<Profile> ReadProfileFile(const std::string& path) {
    const Checked<std::string> text = ReadNamedFile(path);
    if (!text.Ok()) return Checked<Profile>::Refused(text.refusal);
    return Named(path, ParseProfile(*text.value));
}

Checked<ReceiverBitmap> ReadReceiverTableFile(const std::string& path) {
    const Checked<std::string> text = ReadNamedFile(path);
    if (!text.Ok()) return Checked<ReceiverBitmap>::Refused(text.refusal);
    return Named(path, ParseReceiverTableCsv(*text.value));
}

std::optional<std::string> UnwritableFile(const std::string& path) {
    std::error_code error;
    if (fs::is_directory(FilePath(path), error)) return path + ": a directory, not a file";
    const fs::path parent = FilePath(path).parent_path();
    if (!parent.empty() && !fs::is_directory(parent, error)) return path + ": no such directory";
    return std::nullopt;
}

std::optional<std::string> UnusableRecord(const std::string& path, const std::vector<std::string>& header) {
    return UnusableCsv(path, header, "holds a record with other columns (of another profile?); choose another file");
}

std::optional<std::string> UnusableMonitorLog(const std::string& path, const std::vector<Reading>& readings,
                                              LogRows rows) {
    if (const std::optional<std::string> unwritable = UnwritableFile(path)) return unwritable;
    return OtherReadingsLog(path, readings, rows);
}

std::optional<std::string> UnusableCsv(const std::string& path, const std::vector<std::string>& header,
                                       const std::string& otherColumns) {
    if (const std::optional<std::string> unwritable = UnwritableFile(path)) return unwritable;
    if (HoldsOtherColumns(path, header)) return path + ": " + otherColumns;
    return std::nullopt;
}
