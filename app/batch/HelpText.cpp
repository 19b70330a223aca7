#include "app/batch/HelpText.h"

#include <algorithm>

namespace talver {

namespace {

// Letters added, dropped, changed, or two neighbours swapped (the optimal
// string alignment distance; Damerau 1964).
std::size_t EditDistance(const std::string& a, const std::string& b)
{
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i) {
        d[i][0] = i;
    }
    for (std::size_t j = 0; j <= b.size(); ++j) {
        d[0][j] = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t change = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + change});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
            }
        }
    }
    return d[a.size()][b.size()];
}

// The column where descriptions begin.
std::size_t DescriptionColumn(const CLI::Formatter& formatter)
{
    return formatter.get_column_width();
}

} // namespace

std::string WrappedText(const std::string& text, std::size_t width)
{
    std::string wrapped;
    std::size_t lineStart = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find_first_of(" \n", at);
        const std::string word = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
        const std::size_t lineLength = wrapped.size() - lineStart;
        if (lineLength > 0 && lineLength + 1 + word.size() > width) {
            wrapped += '\n';
            lineStart = wrapped.size();
        } else if (lineLength > 0) {
            wrapped += ' ';
        }
        wrapped += word;
        if (end == std::string::npos) {
            break;
        }
        if (text[end] == '\n') {
            wrapped += '\n';
            lineStart = wrapped.size();
        }
        at = end + 1;
    }
    return wrapped;
}

std::string WrappingFormatter::make_description(const CLI::App* app) const
{
    const std::string description = app->get_description();
    return description.empty() ? "" : WrappedText(description, kWidth) + "\n\n";
}

std::string WrappingFormatter::make_footer(const CLI::App* app) const
{
    const std::string footer = app->get_footer();
    return footer.empty() ? "" : WrappedText(footer, kWidth) + "\n";
}

std::string WrappingFormatter::make_option_desc(const CLI::Option* option) const
{
    return WrappedText(CLI::Formatter::make_option_desc(option), kWidth - DescriptionColumn(*this));
}

std::optional<std::string> NearestOption(const std::string& typed, const std::vector<std::string>& known)
{
    const std::string name = typed.substr(0, typed.find('='));
    std::optional<std::string> nearest;
    std::size_t best = std::max<std::size_t>(2, name.size() / 3) + 1;
    for (const std::string& candidate : known) {
        const std::size_t distance = EditDistance(name, candidate);
        if (distance < best) {
            best = distance;
            nearest = candidate;
        }
    }
    return nearest;
}

} // namespace talver
