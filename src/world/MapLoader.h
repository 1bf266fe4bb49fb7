// MapLoader: the map file's keys, its number formats and the text lines it is read in.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The value after `key` when the line, upper-cased, starts with it: the rest of the line as
// written, at most 50 characters, not trimmed. Nothing when the line does not start with the key.
std::optional<std::string> MapKeyValue(std::string_view line, std::string_view key);

// The largest size a decimal number of a map may have, either way.
constexpr float MapNumberLimit = 1e6f;

// A decimal number with "." as the separator whatever the locale, blanks around it allowed.
// Raises TWorldError when the text is not a number or the number is not within MapNumberLimit.
float ParseMapDecimal(const std::string& text, const std::string& key);
// A plain integer in the 32-bit range, blanks around it allowed; raises TWorldError otherwise.
int32_t ParseMapInteger(const std::string& text, const std::string& key);

// The lines of a text file, each without its line end (LF, CR LF or CR).
std::vector<std::string> SplitMapLines(const std::string& text);

// The folder part of a map path: everything up to and including the last `\`, `/` or `:`.
std::string MapFolder(const std::string& mapFile);
