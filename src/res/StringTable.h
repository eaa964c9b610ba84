#pragma once
// The program's string table, as UTF-8.

#include <string>

// The entry numbered `id`; empty for a number the table does not have.
std::string ResString(int id);
