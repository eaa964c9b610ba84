#pragma once
// A word the device answered, as a result: the number for machines, the text
// as the window shows it for people.

#include <cstdint>
#include <string>

#include "Report.h"
#include "protocol/Catalogue.h"

CliResult ReadingResult(const std::string& name, ValueForm form, std::uint16_t word);
CliResult ParameterResult(const ParameterInfo& info, std::uint16_t word);
CliResult WholeResult(const std::string& name, unsigned value);
