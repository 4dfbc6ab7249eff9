// Quoted texts as the core's text formats write them (property lists, macro definitions): one line,
// between double quotes, with \" \\ \n \r \t and \xHH escapes. Private to src/core.
#pragma once

#include <string>
#include <string_view>

namespace kxquoted {

// A piece of the input shown in a message: at most 40 bytes in quotes, control bytes as \xHH.
std::string shown(std::string_view s);
// Appends text in quotes. Line breaks, tabs, quotes, backslashes, control bytes and bytes that are not
// well-formed UTF-8 are escaped; well-formed non-ASCII text is written as it is.
void appendQuoted(std::string& out, std::string_view text);
// Reads the quoted text that starts at s[i] == '"' into out and moves i past the closing quote.
// False with why on a missing quote or a bad escape.
bool readQuoted(std::string_view s, size_t& i, std::string& out, std::string& why);

} // namespace kxquoted
