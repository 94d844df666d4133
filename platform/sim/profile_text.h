// Profile files as Windows reads and writes them, over the file's bytes alone.
// No I/O here: the callers read the whole file, hand its bytes in, and write
// back whatever new bytes come out.
//
// The text is 8-bit text in the ANSI code page; names are compared as
// Windows-1252 letters, without regard to case.
//
// How a file is read, line by line:
//  - a line ends at CR LF, LF or a lone CR;
//  - blanks around a line are ignored: space, tab, LF, VT, FF, CR and ^Z;
//  - a line starting with "[" names a section, up to the first "]" (or to the
//    end of the line when there is none), blanks around the name ignored;
//    anything after the "]" is ignored;
//  - a line starting with ";" is a comment and is never a key;
//  - any other line is a key: the name up to the first "=" and the value after
//    it, blanks around both ignored; a line without "=" is a key with no value,
//    which reads as missing;
//  - lines before the first section belong to no section at all;
//  - only the first section of a name is searched, and its first key of a name
//    is the one read and written;
//  - a name or value stops at its first NUL byte.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pallix::profile {

// What GetPrivateProfileStringA leaves in the caller's buffer: `text` is
// followed by one terminating NUL, so it always fits in size - 1 bytes (lists
// carry their inner NULs in `text`). `count` is the function's result.
struct ReadResult {
  std::string text;
  std::uint32_t count = 0;
  friend bool operator==(const ReadResult&, const ReadResult&) = default;
};

// The value of `key` in `section`, or the default when the section, the key
// or its value is missing. Section and key are looked up without their
// surrounding spaces. A value enclosed in matching quotes ('...' or "...") is
// given without them. The text is cut to size - 1 bytes.
ReadResult GetString(std::string_view file, std::string_view section, std::string_view key,
                     std::string_view default_value, std::uint32_t size);

// The default alone, as given when the file cannot be read: trailing spaces
// dropped, cut to size - 1 bytes.
ReadResult GetDefault(std::string_view default_value, std::uint32_t size);

// The names of the keys in `section` that have a value, each followed by a
// NUL, as a null key asks for; the default when there are none.
ReadResult GetKeyNames(std::string_view file, std::string_view section,
                       std::string_view default_value, std::uint32_t size);

// The names of every section, duplicates included, each followed by a NUL, as
// a null section asks for.
ReadResult GetSectionNames(std::string_view file, std::uint32_t size);

// The file after storing `value` under `key` in `section`, or nullopt when the
// file would not change. Section and key lose their surrounding spaces; the
// value is written exactly as given.
std::optional<std::string> PutString(std::string_view file, std::string_view section,
                                     std::string_view key, std::string_view value);

// The file without the line of `key` in `section`, or nullopt when there is no
// such key.
std::optional<std::string> DeleteKey(std::string_view file, std::string_view section,
                                     std::string_view key);

// The file without the header and the key lines of `section`; its comments
// and blank lines stay. Nullopt when there is no such section.
std::optional<std::string> DeleteSection(std::string_view file, std::string_view section);

}  // namespace pallix::profile
