#pragma once
// One cell of a data file as read: missing, a number of a statistics
// package's file, or text as written.

#include <string>

namespace talver {

struct DataCell {
    enum class Kind : unsigned char { Missing, Number, Text };
    Kind kind = Kind::Missing;
    double number = 0.0;
    std::string text;
};

} // namespace talver
