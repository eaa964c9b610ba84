#pragma once
// The dialog manager's reading of an integer from a control's text.

#include <optional>
#include <string_view>

// Leading blanks (space, tab), then '-' when `isSigned`, then decimal digits
// up to the end of the text. Anything else, no digit at all, or a value
// outside int (unsigned: outside 0..4294967295) gives no number. An unsigned
// value comes back as its 32-bit pattern. The text is UTF-8: a character
// outside ASCII is never a blank or a digit, so it spoils the number wherever
// it stands.
std::optional<int> ParseDlgItemInt(std::string_view text, bool isSigned);
