// What talver-batch writes for a terminal: the live progress line within the
// terminal's width, its last counter at 100.00 %, help text wrapped at word
// ends, and the option meant by a mistyped one.

#include "app/batch/HelpText.h"
#include "app/batch/ProgressPrinter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>

namespace {

using namespace talver;

// Each state of the live line, as a terminal shows it after "\r\033[K".
std::vector<std::string> LiveLines(std::FILE* stream)
{
    std::rewind(stream);
    std::string text;
    for (int c; (c = std::fgetc(stream)) != EOF;) {
        text += static_cast<char>(c);
    }
    std::vector<std::string> lines;
    const std::string erase = "\r\033[K";
    for (std::size_t at = text.find(erase); at != std::string::npos;) {
        const std::size_t next = text.find(erase, at + erase.size());
        std::string line = text.substr(at + erase.size(), next == std::string::npos ? std::string::npos
                                                                                     : next - at - erase.size());
        // The line ends when the printer does.
        if (!line.empty() && line.back() == '\n') {
            line.pop_back();
        }
        lines.push_back(line);
        at = next;
    }
    return lines;
}

TEST(TerminalOutput, LiveLineFitsTheWidthAndEndsAtAHundredPercent)
{
    for (int columns : {40, 80, 200}) {
        std::FILE* stream = std::tmpfile();
        ASSERT_NE(stream, nullptr);
        {
            ProgressPrinter printer(stream, true, columns);
            const int total = 2000;
            for (int done = 0; done < total; done += 333) {
                const int shown = std::min(done, total - 1);
                printer.NoteBootstrapProgress(shown, total);
                printer.NoteBootstrapTiming("1:02 elapsed, about 12:34 left");
                char counter[64];
                std::snprintf(counter, sizeof counter, "Done: %4i (%6.2f%%)", shown, 100.0 * shown / total);
                printer.Show({" COMPUTING ...", "Indices of invariance", "Bootstrap sampling ...", counter});
            }
            printer.NoteBootstrapProgress(total - 1, total);
            printer.Show({" COMPUTING ...", "Indices of invariance", "Bootstrap sampling ...", "Done: 1999 ( 99.95%)"});
        }
        const std::vector<std::string> lines = LiveLines(stream);
        std::fclose(stream);
        ASSERT_FALSE(lines.empty());
        for (const std::string& line : lines) {
            EXPECT_LT(line.size(), static_cast<std::size_t>(columns)) << line;
        }
        const std::string& last = lines.back();
        if (columns >= 80) {
            // The counter and the estimate are what give way last.
            EXPECT_NE(last.find("Done: 2000 (100.00%), 1:02 elapsed, about 12:34 left"), std::string::npos) << last;
        }
        if (columns == 200) {
            EXPECT_EQ(last.rfind("COMPUTING ... | Indices of invariance | Bootstrap sampling ... | Done:", 0), 0u)
                << last;
        }
    }
}

TEST(TerminalOutput, HelpWrapsAtWordEndsAndKeepsItsLineEnds)
{
    const std::string text = "Plain files without --target are read; the defaults follow their \"=\".\nA second line.";
    const std::string wrapped = WrappedText(text, 30);
    std::istringstream lines(wrapped);
    std::string joined;
    for (std::string line; std::getline(lines, line);) {
        EXPECT_LE(line.size(), 30u) << line;
        joined += (joined.empty() ? "" : " ") + line;
    }
    EXPECT_EQ(joined, "Plain files without --target are read; the defaults follow their \"=\". A second line.");
    EXPECT_NE(wrapped.find("\".\nA second line."), std::string::npos) << wrapped;
    EXPECT_EQ(WrappedText("averyveryverylongword x", 5), "averyveryverylongword\nx");
}

TEST(TerminalOutput, AMistypedOptionFindsTheOneMeant)
{
    const std::vector<std::string> known = {"--samples", "--target", "--target-count", "--threads", "--method"};
    EXPECT_EQ(NearestOption("--sampels", known), "--samples");
    EXPECT_EQ(NearestOption("--thread=4", known), "--threads");
    EXPECT_EQ(NearestOption("--targte-count", known), "--target-count");
    EXPECT_EQ(NearestOption("--metod", known), "--method");
    EXPECT_EQ(NearestOption("--colour", known), std::nullopt);
}

} // namespace
