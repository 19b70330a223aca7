#include "report/ReportFrame.h"

#include "report/WarningBlock.h"

#include <cstdio>

namespace talver {

namespace {

void Line(ReportContext& context, int blanks, const char* text, int lineEnds)
{
    ReportPrintf(context, "%*s%s", blanks, "", text);
    for (int i = 0; i < lineEnds; ++i) {
        ReportPrintf(context, "\n");
    }
}

// One details line: the label padded to 48 characters, ": ", the value.
void Detail(ReportContext& context, const char* label, const std::string& value, int lineEnds)
{
    ReportPrintf(context, "%-48s: %s", label, value.c_str());
    for (int i = 0; i < lineEnds; ++i) {
        ReportPrintf(context, "\n");
    }
}

} // namespace

std::string EnglishDate(const std::tm& local)
{
    static const char* const weekdays[] = {"Sunday", "Monday", "Tuesday", "Wednesday",
                                           "Thursday", "Friday", "Saturday"};
    static const char* const months[] = {"January", "February", "March", "April", "May", "June", "July",
                                         "August", "September", "October", "November", "December"};
    char text[64];
    std::snprintf(text, sizeof text, "%s, %s %02d, %d", weekdays[local.tm_wday % 7], months[local.tm_mon % 12],
                  local.tm_mday, local.tm_year + 1900);
    return text;
}

void WriteReportHeader(ReportContext& context)
{
    Line(context, 0, "", 1);
    Line(context, 34, "T A L V E R ", 3);
    Line(context, 27, "Item Measurement Invariance  ", 1);
    Line(context, 23, "Based on Exploratory Factor Analysis", 2);
    Line(context, 30, "Release Version 2.01", 1);
    Line(context, 34, "August, 2002", 1);
    Line(context, 26, "Department of Quantitative Methods", 1);
    Line(context, 29, "Aldmoor University, Aldmoor", 2);
    Line(context, 35, "Programing:", 1);
    Line(context, 34, "Mira Castell", 2);
    Line(context, 28, "Mathematical Specification:", 1);
    Line(context, 34, "Jonas Ferrer", 1);
    Line(context, 35, "Elena Varga", 2);
    // Date and time of one reading of the clock, so that a run started at
    // midnight does not get the date of one day and the time of the next.
    const std::tm& start = context.startLocal;
    ReportPrintf(context, "%28sDate: %s\n", "", EnglishDate(start).c_str());
    ReportPrintf(context, "%28sTime: %i:%i:%i\n", "", start.tm_hour, start.tm_min, start.tm_sec);
    SeparatorLine(context);
}

void WriteDetailsBlock(ReportContext& context, const ReportDetails& details)
{
    ReportPrintf(context, "\nDETAILS OF ANALYSIS\n\n");
    Detail(context, "Target sample data file", details.targetFile, 1);
    Detail(context, "Number of observations in Target sample", std::to_string(details.targetCount), 1);
    Detail(context, "Replication sample data file", details.replicationFile, 1);
    Detail(context, "Number of observations in Replication sample", std::to_string(details.replicationCount), 2);
    Detail(context, "Number of variables", std::to_string(details.variableCount), 1);
    Detail(context, details.method == ExtractionMethod::Pca ? "Number of components" : "Number of factors",
           std::to_string(details.factorCount), 2);
    const char* dispersion = details.dispersion == DispersionKind::Covariance ? "Covariances"
                             : details.dispersion == DispersionKind::Pearson  ? "Pearson correlations"
                                                                              : "Polychoric (tetrachoric) correlations";
    Detail(context, "Dispersion matrix", dispersion, 1);
    if (details.method == ExtractionMethod::Uls) {
        Detail(context, "Method for factor extraction", "Unweighted Least Squares (ULS)", 2);
    } else if (details.method == ExtractionMethod::Pca) {
        Detail(context, "Method for components extraction", "Principal Components Analysis", 2);
    } else {
        Detail(context, "Method for factor extraction", "Unrestricted Maximum Likelihood (ML)", 2);
    }
    if (details.factorCount > 1) {
        Detail(context, "Rotation to simplicity of Target loading matrix", "Normalized Varimax", 1);
        Detail(context, "Rotation to similitude between loading matrices", "Orthogonal Procrustes", 2);
    }
    Detail(context, "Bias corrected Percentile intervals obtained by", "Bootstrap resampling", 1);
    Detail(context, "Critical values obtained by", "Bootstrap resampling", 1);
    Detail(context, "Number of samples in Bootstrap resampling", std::to_string(details.bootstrapSamples), 2);
    Detail(context, "Alpha value", AlphaText(details.alpha), 2);
    SeparatorLine(context);
    ReportPrintf(context, "\n");
    for (const std::string& warning : details.dataWarnings) {
        PrintWarningBlock(context, kDataSection, warning);
    }
}

void WriteClosingLines(ReportContext& context)
{
    const double seconds = static_cast<double>(context.endTime - context.startTime);
    ReportPrintf(context, "TALVER completed\n");
    ReportPrintf(context, "Computing time: %20.8f minutes.\n", seconds * 0.016666666666666666);
}

} // namespace talver
