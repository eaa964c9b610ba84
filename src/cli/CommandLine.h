#pragma once
// Reads sentrabus-cli's command line: the options, the command and its values,
// all checked before anything is opened or sent. Prints the help, the version
// and every refusal itself.

#include <optional>
#include <ostream>

#include "CliRequest.h"

struct CommandLineOutcome {
    std::optional<CliRequest> request;  // when the run goes on
    int exitStatus = kExitOk;           // when it ends here: help shown, or usage refused
};

CommandLineOutcome ReadCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err);
