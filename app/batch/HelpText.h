#pragma once
// The command line's help and its answers to mistakes: --help wrapped at 80
// columns, and the option nearest to a mistyped one.

#include <CLI/CLI.hpp>

#include <optional>
#include <string>
#include <vector>

namespace talver {

// Wraps at spaces so that no line exceeds `width`, keeping the text's own
// line ends; a word longer than the width stands on a line of its own.
std::string WrappedText(const std::string& text, std::size_t width);

// The help of CLI11 with every line within 80 columns.
class WrappingFormatter : public CLI::Formatter {
public:
    static constexpr std::size_t kWidth = 80;

    std::string make_description(const CLI::App* app) const override;
    std::string make_footer(const CLI::App* app) const override;
    std::string make_option_desc(const CLI::Option* option) const override;
};

// Of `known` ("--samples", ...), the one that `typed` most likely meant: the
// fewest letters added, dropped, changed or swapped, at most a third of its
// length (and at least 2); nothing when none is that near.
std::optional<std::string> NearestOption(const std::string& typed, const std::vector<std::string>& known);

} // namespace talver
