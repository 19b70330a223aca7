#pragma once
// The rules of the analysis options dialog: number of factors, extraction
// method, dispersion matrix, bootstrap parameters, score range and report
// sections, kept consistent with each other and with the data. The drawing
// side mirrors IsMarked, IsEnabled and FieldText into its controls after each
// call, forwards the user's typing with SetFieldText and clicks with Click.

#include <array>
#include <cstddef>
#include <string>

#include "app/DialogPort.h"

namespace talver {

// The working copy the dialog edits. The six show flags are 0 or 1; the codes
// are those of the analysis options (alphaCode 5 or 10, extractionMethod 1 ULS,
// 2 PCA, 3 ML, dispersionKind 1 covariances, 2 Pearson, 3 polychoric).
struct OptionsDialogValues {
    int variableCount = 0;  // input only
    int showDiscriminations = 0;
    int showDifficulties = 0;
    int showResidualVariances = 0;
    int showDifficultyFit = 0;
    int showCongruence = 0;
    int showDiscrepancy = 0;
    int alphaCode = 0;
    int extractionMethod = 0;
    int dispersionKind = 0;
    int observedMaximum = 0;  // input only
    int observedMinimum = 0;  // input only
    unsigned bootstrapSamples = 0;
    unsigned factorCount = 0;
    int lowestScore = 0;
    int highestScore = 0;
    // Input only: why the data cannot give polychoric correlations (scores
    // that are no whole numbers); empty when they can.
    std::string unusablePolychoricScores;
};

class OptionsDialogRules {
public:
    static constexpr int kOkButton = 1;
    static constexpr int kCancelButton = 2;
    static constexpr int kUlsRadio = 1036;
    static constexpr int kPcaRadio = 1037;
    static constexpr int kCovarianceRadio = 1038;
    static constexpr int kPearsonRadio = 1039;
    static constexpr int kAlpha05Radio = 1040;
    static constexpr int kAlpha10Radio = 1041;
    static constexpr int kBootstrapSamplesField = 1042;
    static constexpr int kFactorCountField = 1043;
    static constexpr int kDifficultiesCheck = 1044;
    static constexpr int kDiscriminationsCheck = 1045;
    static constexpr int kResidualVariancesCheck = 1046;
    static constexpr int kDifficultyFitCheck = 1047;
    static constexpr int kCongruenceCheck = 1048;
    static constexpr int kDiscrepancyCheck = 1049;
    static constexpr int kMlRadio = 1050;
    static constexpr int kPolychoricRadio = 1051;
    static constexpr int kLowestScoreLabel = 1052;
    static constexpr int kHighestScoreLabel = 1053;
    static constexpr int kLowestScoreField = 1054;
    static constexpr int kHighestScoreField = 1055;

    // Marks, enabling and edit fields start from the initial values.
    OptionsDialogRules(const OptionsDialogValues& initial, DialogPort& port);

    // For radio buttons and check boxes.
    bool IsMarked(int controlId) const;
    // For radio buttons, check boxes, the two score labels and the four edits.
    bool IsEnabled(int controlId) const;

    // Text of edit field 1042, 1043, 1054 or 1055.
    const std::string& FieldText(int controlId) const;
    void SetFieldText(int controlId, std::string text);

    // A click on a radio button or check box. A disabled control takes no
    // click: false, and nothing changes.
    bool Click(int controlId);

    // Takes the edit fields into the working copy, in the order 1042, 1043,
    // 1054, 1055. The first failure is reported and focused and ends the
    // reading; a number out of range has been stored by then.
    bool ReadFields();
    // Shows the working copy in the edit fields.
    void WriteFields();

    // True when the dialog may end with OK; otherwise it stays open.
    bool Ok();

    const OptionsDialogValues& Values() const { return values_; }

    // Any id other than those above throws std::invalid_argument from the
    // functions that take one.

private:
    static constexpr std::size_t kFieldCount = 4;

    enum class Reading { kComplete, kOutOfRange, kRefused };

    static std::size_t FieldIndex(int controlId);
    // The flag bound to a check box, or nullptr for any other control.
    static int OptionsDialogValues::*CheckBoxFlag(int controlId);

    bool PolychoricChosen() const;
    Reading Read();
    Reading Refuse(int controlId, const std::string& message, Reading result);
    template <typename T>
    void Adjust(T OptionsDialogValues::*field, T value, const char* message);
    // Refuses, with a message, bootstrap replicates or polychoric tables
    // that would not fit in memory.
    bool WorkFitsInMemory();

    DialogPort& port_;
    OptionsDialogValues values_;
    std::array<std::string, kFieldCount> texts_;
};

// The refusal of as many factors as items or more, with the number of items
// and the counts that can be chosen.
std::string TooManyFactorsMessage(int items);

} // namespace talver
