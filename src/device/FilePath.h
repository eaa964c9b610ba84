#pragma once
// File names as the program keeps them (UTF-8) as the system takes them. On
// Windows a path made from a narrow string is read in the ANSI code page,
// which cannot name a file under C:\Users\Zoë\配置\; the path made here is the
// wide one there, and the same bytes on Linux.

#include <cstdio>
#include <filesystem>
#include <string_view>

std::filesystem::path FilePath(std::string_view utf8);

// std::fopen of a UTF-8 name (_wfopen on Windows); nullptr and errno as fopen.
std::FILE* OpenFile(std::string_view utf8, const char* mode);
