#pragma once
// The program's texts are UTF-8; the W functions of Windows take UTF-16.

#include <string>
#include <string_view>

// Bytes that are no UTF-8 become U+FFFD each, as Windows converts them.
std::wstring Utf16(std::string_view utf8);
std::string Utf8(std::wstring_view utf16);
