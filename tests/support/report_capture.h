#pragma once
// Collects what an analysis writes into its report.

#include "report/ReportContext.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

using namespace talver;

class CapturedReport {
public:
    CapturedReport() { context.report = open_memstream(&buffer_, &size_); }
    ~CapturedReport()
    {
        std::fclose(context.report);
        std::free(buffer_);
    }
    std::string Text()
    {
        std::fflush(context.report);
        return std::string(buffer_, size_);
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

private:
    char* buffer_ = nullptr;
    std::size_t size_ = 0;
};
