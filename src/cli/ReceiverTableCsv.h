#pragma once
// A wireless receiver's table of 200 addresses as CSV, for a spreadsheet or a
// script, and read back from such a file:
//
//   address,configured
//   1,no
//   2,yes
//   ...
//   200,no
//
// Reading is strict (the header, addresses 1 to 200 each at most once, yes or
// no); an address the file does not list is taken as not configured, so that
// the file is the whole table.

#include <string>
#include <string_view>

#include "device/Profile.h"
#include "device/StrictValues.h"

// Every address, one line each, with "\n" line ends.
std::string ReceiverTableCsv(const ReceiverBitmap& table);
// The table in `text`, or why it is none ("line 4: ...").
Checked<ReceiverBitmap> ParseReceiverTableCsv(std::string_view text);

bool IsConfigured(const ReceiverBitmap& table, std::size_t index);
