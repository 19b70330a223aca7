#pragma once
// Every text that the Sample dialog and the analysis options dialog show, so
// that each front end binds the same words. Odd spellings are the program's own.

#include <initializer_list>
#include <string>

namespace talver {

namespace DialogText {

// The text with %1, %2, ... replaced by the numbers in turn.
inline std::string FillIn(std::string text, std::initializer_list<long long> numbers)
{
    int place = 1;
    for (const long long number : numbers) {
        const std::string mark = "%" + std::to_string(place++);
        const std::size_t at = text.find(mark);
        if (at != std::string::npos) {
            text.replace(at, mark.size(), std::to_string(number));
        }
    }
    return text;
}

inline constexpr char kOk[] = "OK";
inline constexpr char kCancel[] = "Cancel";

// Refusals of a number field's text.
inline constexpr char kEnterInteger[] = "Please enter an integer.";
inline constexpr char kEnterPositiveInteger[] = "Please enter a positive integer.";
// %1 and %2 stand for the lower and the upper bound.
inline constexpr char kEnterIntegerBetween[] = "Please enter an integer between %1 and %2.";

}  // namespace DialogText

namespace SampleDialogText {

inline constexpr char kCaption[] = "Sample";
inline constexpr char kSizeGroup[] = "Size of data matrices";
inline constexpr char kTargetCountLabel[] = "Number of participants in the Target Sample:";
inline constexpr char kReplicationCountLabel[] = "Number of participants in the Replication Sample:";
inline constexpr char kVariableCountLabel[] = "Number of Variables:";
inline constexpr char kFileNamesGroup[] = "File names";
inline constexpr char kTargetFileLabel[] = "Target Sample:";
inline constexpr char kReplicationFileLabel[] = "Replication Sample:";
inline constexpr char kBrowse[] = "Browse";

inline constexpr char kTargetChooserTitle[] = "TARGET SAMPLE: Choose your input file";
inline constexpr char kReplicationChooserTitle[] = "REPLICATION SAMPLE: Choose your input file";
// The chooser's one filter; its name and its pattern are the same text.
inline constexpr char kChooserFilter[] = "*.dat";

inline constexpr char kNoTargetCount[] = "Please, enter de number of participants in the Target Sample";
inline constexpr char kNoReplicationCount[] =
    "Please, enter de number of participants in the Replication Sample";
inline constexpr char kNoVariableCount[] = "Please, enter de number of variables";
inline constexpr char kNoTargetFile[] = "Please, select a file name for the Target Sample";
inline constexpr char kNoReplicationFile[] = "Please, select a file name for the Replication Sample";
inline constexpr char kReplicationFileMissing[] = "The file name for the Replication Sample does not exist";
inline constexpr char kTargetFileMissing[] = "The file name for the Target Sample does not exist";
// Sizes beyond what the memory holds; %1 is the largest number of items.
inline constexpr char kTooManyVariables[] = "The number of variables is too large: at most %1 items can be analysed.";
// %1 participants, %2 variables, %3 the largest number of values.
inline constexpr char kTargetSampleTooLarge[] =
    "The Target Sample is too large: %1 participants x %2 variables are more than the %3 values that a sample may "
    "hold in memory.";
inline constexpr char kReplicationSampleTooLarge[] =
    "The Replication Sample is too large: %1 participants x %2 variables are more than the %3 values that a sample "
    "may hold in memory.";

}  // namespace SampleDialogText

namespace OptionsDialogText {

inline constexpr char kCaption[] = "Dialog";

inline constexpr char kFactorGroup[] = "Factor vs Components";
inline constexpr char kFactorCountLabel[] = "Number of Factors/Components:";
inline constexpr char kUls[] = "Unweighted Least Squares (ULS)";
inline constexpr char kPca[] = "Principal Component Analysis (PCA)";
inline constexpr char kMl[] = "Unrestricted Maximum Likelihood (ML)";

inline constexpr char kMatrixGroup[] = "Matrix analyzed";
inline constexpr char kCovariance[] = "Covariance";
inline constexpr char kPearson[] = "Pearson correlation";
inline constexpr char kPolychoric[] = "Polychoric (tetrachoric) correlation";
inline constexpr char kLowestScoreLabel[] = "Lowest possible items score:";
inline constexpr char kHighestScoreLabel[] = "Highest possible items score:";

inline constexpr char kBootstrapGroup[] = "Bootstrap parameters";
inline constexpr char kBootstrapSamplesLabel[] = "Numer of samples:";
inline constexpr char kAlpha05[] = "alpha = 0.05";
inline constexpr char kAlpha10[] = "alpha = 0.10";

inline constexpr char kOutputGroup[] = "Output";
inline constexpr char kDifficulties[] = "Item Difficulties";
inline constexpr char kDiscriminations[] = "Item Discriminations";
inline constexpr char kResidualVariances[] = "Item Residual Variances";
inline constexpr char kDifficultyFit[] = "Fit Index for Difficulties";
inline constexpr char kCongruence[] = "Congruence Fit Indices for Discriminations";
inline constexpr char kDiscrepancy[] = "Discrepancy Fit Indices for Discriminations";

inline constexpr char kCovarianceAdvised[] = "Please, note that Covariance matrix analysis is advised";
inline constexpr char kTooManyFactors[] =
    "The number of Factors/Components should be smaller than the number of variables";
inline constexpr char kLongBootstrap[] =
    "The number of samples is larger than 1000, so the Bootstrap sampling may take a long time.";
inline constexpr char kSamplesAdjustedTo500[] = "The number of samples is adjusted to 500.";
inline constexpr char kHighestScoreAdjusted[] = "The highest possible items score is adjusted to the data.";
inline constexpr char kLowestScoreAdjusted[] = "The lowest possible items score is adjusted to the data.";
// Work beyond what the memory holds. %1 samples, %2 items, %3 factors.
inline constexpr char kTooManyReplicates[] =
    "The bootstrap samples of %2 items with %3 factors/components do not fit in memory %1 times. Please choose fewer "
    "samples or factors.";
// %1 and %2 the score range, %3 categories, %4 items.
inline constexpr char kTooManyCategories[] =
    "Polychoric correlations cannot be computed for scores from %1 to %2: the tables of %3 categories for %4 items "
    "do not fit in memory. Please check the data, or choose Covariance or Pearson correlation.";

}  // namespace OptionsDialogText

} // namespace talver
