// Key and value names of the registry: UTF-8 checks, lengths in characters, the case fold that makes
// names match without regard to case, and splitting key paths. Private to the registry files here.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kxwin::detail {

// Longest key path below a root, counted in characters with its separators.
inline constexpr std::size_t kMaxKeyPathChars = 255;
// Longest value name in characters.
inline constexpr std::size_t kMaxValueNameChars = 16383;
// Largest value in bytes.
inline constexpr std::size_t kMaxValueBytes = 1024 * 1024;

// Number of characters of well-formed UTF-8 text; nullopt when the bytes are not well-formed UTF-8
// (overlong forms, surrogates, code points above U+10FFFF, truncated sequences).
std::optional<std::size_t> utf8Length(std::string_view text);

// The form names are compared and ordered by: every character mapped to its capital, so "software"
// and "SOFTWARE" fold alike. Covers Latin (with Latin-1, Extended-A and Extended Additional), Greek,
// Cyrillic, Armenian and the full-width Latin letters; other characters stay as written. The folds
// are stored in the database, so changing this mapping needs a schema version that refolds names.
// Expects well-formed UTF-8 (see utf8Length).
std::string foldName(std::string_view name);

// Splits a key path at '\' into its components. Refuses (nullopt) a path that starts with '\' or
// has an empty component ("a\\b"); one trailing '\' is ignored. An empty path gives no components.
std::optional<std::vector<std::string_view>> splitKeyPath(std::string_view path);

} // namespace kxwin::detail
