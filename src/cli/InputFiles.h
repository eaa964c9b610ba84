#pragma once
// The files a command names, read and checked before the port is opened, so
// that a file that cannot be used ends the run with nothing sent. Every
// refusal starts with the file's name.

#include <optional>
#include <string>
#include <vector>

#include "device/Monitor.h"
#include "device/Profile.h"
#include "protocol/Catalogue.h"
#include "device/StrictValues.h"

// A profile file: read, then ParseProfile.
Checked<Profile> ReadProfileFile(const std::string& path);
// A receiver table as `wireless table --csv` writes it.
Checked<ReceiverBitmap> ReadReceiverTableFile(const std::string& path);
// Why `path` cannot take a file written later (no such directory, a directory).
std::optional<std::string> UnwritableFile(const std::string& path);
// Why a commissioning record cannot go to `path`: rows of other columns (a
// record of another profile) would make the file unreadable as a table.
std::optional<std::string> UnusableRecord(const std::string& path, const std::vector<std::string>& header);
// Why rows of `header`'s columns cannot be appended to the CSV file at `path`
// (its first line is another header: `otherColumns` says so); nullopt when
// the file is new, empty or of these columns.
// The same for the monitor's log of `readings`.
std::optional<std::string> UnusableMonitorLog(const std::string& path, const std::vector<Reading>& readings,
                                              LogRows rows = LogRows::Device);
std::optional<std::string> UnusableCsv(const std::string& path, const std::vector<std::string>& header,
                                       const std::string& otherColumns);
