#pragma once
// Collects what an analysis writes into its report, in a temporary file
// (a stream in memory is POSIX's alone), read back in binary mode.

#include "report/ReportContext.h"

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

using namespace talver;

class CapturedReport {
public:
    CapturedReport() { context.report = std::tmpfile(); }
    ~CapturedReport() { std::fclose(context.report); }
    CapturedReport(const CapturedReport&) = delete;
    CapturedReport& operator=(const CapturedReport&) = delete;
    std::string Text()
    {
        std::fflush(context.report);
        std::string text(static_cast<std::size_t>(std::ftell(context.report)), '\0');
        std::rewind(context.report);
        text.resize(std::fread(text.data(), 1, text.size(), context.report));
        // Writing goes on at the end.
        std::fseek(context.report, 0, SEEK_END);
        return text;
    }
    std::vector<std::string> Lines()
    {
        std::vector<std::string> lines;
        std::istringstream in(Text());
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }
    ReportContext context;
};
