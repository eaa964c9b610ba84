#pragma once
// How sentrabus-cli ends a run it cannot carry out: one line on standard
// error, and with --json the document {"error": "..."} on standard output.

#include <ostream>
#include <string_view>

void PrintRunError(std::ostream& out, std::ostream& err, bool json, std::string_view message);
