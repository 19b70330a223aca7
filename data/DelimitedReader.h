#pragma once
// Delimited text with a header row of column names, as spreadsheets and
// survey platforms export it: RFC 4180 quoting, fields separated by commas,
// semicolons or tabs, UTF-8 with or without a byte-order mark. With
// semicolons, numbers may use a decimal comma.

#include "data/DataTable.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace talver {

// A file is read this many bytes at a time; only the record being read and
// the chunk around it are held, never the whole file.
inline constexpr std::size_t kDelimitedChunkBytes = std::size_t{1} << 20;

// The delimiter to use, or 0 to take the one of ',', ';' and tab that the
// header row uses most (tab, then semicolon, on a tie). With a choice, the
// table holds only the chosen columns.
DataReadResult ParseDelimitedText(std::string_view text, char delimiter, const std::string& fileName,
                                  DataTable& table, const ColumnChoice& choice = {}, const StopAsked& stopAsked = {});

DataReadResult ReadDelimitedFile(const std::string& path, char delimiter, DataTable& table,
                                 const ColumnChoice& choice = {}, const StopAsked& stopAsked = {});

// The delimiter a user names: ",", ";", "tab" (or a tab itself), "comma",
// "semicolon"; 0 for anything else.
char DelimiterNamed(const std::string& name);

} // namespace talver
