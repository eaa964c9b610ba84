#include "FilePath.h"

#include <string>

std::filesystem::path FilePath(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::FILE* OpenFile(std::string_view utf8, const char* mode) {
#ifdef _WIN32
    const std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
    return ::_wfopen(FilePath(utf8).c_str(), wideMode.c_str());
#else
    return std::fopen(FilePath(utf8).c_str(), mode);
#endif
}
