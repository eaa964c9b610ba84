#include "SmallFile.h"

#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

std::string Utf8Name(const fs::path& path) {
    const std::u8string name = path.u8string();
    return std::string(name.begin(), name.end());
}

Checked<std::string> ReadSmallFile(const fs::path& path) {
    using Result = Checked<std::string>;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (!fs::exists(status)) return Result::Refused("no such file");
    if (!fs::is_regular_file(status)) return Result::Refused("not a file");
    const std::uintmax_t size = fs::file_size(path, error);
    if (error) return Result::Refused("cannot be read: " + error.message());
    if (size > kLargestSmallFile) return Result::Refused("larger than such a file can be");
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in) return Result::Refused("cannot be read");
    return {text.str(), {}};
}

std::optional<std::string> ReplaceFile(const fs::path& path, std::string_view text) {
    fs::path partial = path;
    partial += ".part";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            fs::remove(partial, ignored);
            return "cannot be written";
        }
    }
    std::error_code error;
    fs::rename(partial, path, error);
    if (!error) return std::nullopt;
    fs::remove(partial, error);
    return "cannot be written";
}
