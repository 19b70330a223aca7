#include "app/OptionsDialogRules.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/DialogTexts.h"
#include "recording_dialog_port.h"

using namespace talver;

namespace {

using R = OptionsDialogRules;
using Events = std::vector<std::string>;
namespace T = OptionsDialogText;

// The working copy as the main window hands it over after reading scores
// from 1 to 5 for 10 items.
OptionsDialogValues Defaults()
{
    OptionsDialogValues v;
    v.variableCount = 10;
    v.showDiscriminations = v.showDifficulties = v.showResidualVariances = 1;
    v.showDifficultyFit = v.showCongruence = v.showDiscrepancy = 1;
    v.alphaCode = 5;
    v.extractionMethod = 1;
    v.dispersionKind = 1;
    v.observedMaximum = 5;
    v.observedMinimum = 1;
    v.bootstrapSamples = 1000;
    v.factorCount = 2;
    v.lowestScore = 1;
    v.highestScore = 5;
    return v;
}

OptionsDialogValues WithKinds(int dispersionKind, int extractionMethod)
{
    OptionsDialogValues v = Defaults();
    v.dispersionKind = dispersionKind;
    v.extractionMethod = extractionMethod;
    return v;
}

const int kScoreControls[] = {R::kLowestScoreLabel, R::kHighestScoreLabel, R::kLowestScoreField,
                              R::kHighestScoreField};

std::string Range(unsigned lowest, unsigned highest)
{
    return Message("Please enter an integer between " + std::to_string(lowest) + " and " + std::to_string(highest) +
                   ".");
}

class OptionsDialogRulesTest : public ::testing::Test {
protected:
    RecordingDialogPort port_;
};

TEST_F(OptionsDialogRulesTest, CovarianceStartsWithScoresDisabledAndEverythingElseEnabled)
{
    R rules(Defaults(), port_);
    EXPECT_TRUE(rules.IsMarked(R::kCovarianceRadio));
    EXPECT_FALSE(rules.IsMarked(R::kPearsonRadio));
    EXPECT_FALSE(rules.IsMarked(R::kPolychoricRadio));
    for (int id : kScoreControls) {
        EXPECT_FALSE(rules.IsEnabled(id)) << id;
    }
    EXPECT_TRUE(rules.IsEnabled(R::kMlRadio));
    EXPECT_TRUE(rules.IsEnabled(R::kResidualVariancesCheck));
    EXPECT_TRUE(rules.IsMarked(R::kUlsRadio));
    EXPECT_FALSE(rules.IsMarked(R::kMlRadio));
    EXPECT_TRUE(rules.IsMarked(R::kAlpha05Radio));
    EXPECT_FALSE(rules.IsMarked(R::kAlpha10Radio));
    EXPECT_EQ(rules.FieldText(R::kBootstrapSamplesField), "1000");
    EXPECT_EQ(rules.FieldText(R::kFactorCountField), "2");
    EXPECT_EQ(rules.FieldText(R::kLowestScoreField), "1");
    EXPECT_EQ(rules.FieldText(R::kHighestScoreField), "5");
    EXPECT_TRUE(port_.events.empty());
}

TEST_F(OptionsDialogRulesTest, PearsonStartsWithResidualVariancesDisabled)
{
    R rules(WithKinds(2, 2), port_);
    EXPECT_TRUE(rules.IsMarked(R::kPearsonRadio));
    EXPECT_FALSE(rules.IsEnabled(R::kResidualVariancesCheck));
    EXPECT_TRUE(rules.IsMarked(R::kResidualVariancesCheck));  // flag untouched
    for (int id : kScoreControls) {
        EXPECT_FALSE(rules.IsEnabled(id)) << id;
    }
    EXPECT_TRUE(rules.IsEnabled(R::kMlRadio));
    EXPECT_TRUE(rules.IsMarked(R::kPcaRadio));
}

TEST_F(OptionsDialogRulesTest, UnknownCodesShowAsTheLastChoiceOfTheirGroup)
{
    OptionsDialogValues v = WithKinds(7, 0);
    v.alphaCode = 7;
    R rules(v, port_);
    EXPECT_TRUE(rules.IsMarked(R::kPolychoricRadio));
    EXPECT_FALSE(rules.IsEnabled(R::kResidualVariancesCheck));
    for (int id : kScoreControls) {
        EXPECT_TRUE(rules.IsEnabled(id)) << id;
    }
    // ML shows marked and disabled; the codes stay as they came.
    EXPECT_TRUE(rules.IsMarked(R::kMlRadio));
    EXPECT_FALSE(rules.IsEnabled(R::kMlRadio));
    EXPECT_TRUE(rules.IsMarked(R::kAlpha10Radio));
    EXPECT_EQ(rules.Values().dispersionKind, 7);
    EXPECT_EQ(rules.Values().extractionMethod, 0);
    EXPECT_EQ(rules.Values().alphaCode, 7);
}

TEST_F(OptionsDialogRulesTest, CheckBoxesFollowTheirFlags)
{
    OptionsDialogValues v = Defaults();
    v.showDifficulties = 0;
    v.showCongruence = 2;
    R rules(v, port_);
    EXPECT_FALSE(rules.IsMarked(R::kDifficultiesCheck));
    EXPECT_FALSE(rules.IsMarked(R::kCongruenceCheck));
    EXPECT_TRUE(rules.IsMarked(R::kDiscrepancyCheck));

    EXPECT_TRUE(rules.Click(R::kDifficultiesCheck));
    EXPECT_TRUE(rules.IsMarked(R::kDifficultiesCheck));
    EXPECT_EQ(rules.Values().showDifficulties, 1);
    EXPECT_TRUE(rules.Click(R::kDifficultiesCheck));
    EXPECT_EQ(rules.Values().showDifficulties, 0);

    // Anything but 0 turns into 0; mark and flag stay equal.
    EXPECT_TRUE(rules.Click(R::kCongruenceCheck));
    EXPECT_EQ(rules.Values().showCongruence, 0);
    EXPECT_FALSE(rules.IsMarked(R::kCongruenceCheck));
    EXPECT_TRUE(port_.events.empty());
}

TEST_F(OptionsDialogRulesTest, PolychoricSwitchesToUlsAndShowsAdviceBeforeTheMethodChanges)
{
    R rules(WithKinds(1, 3), port_);
    int seenDispersion = 0;
    int seenMethod = 0;
    port_.onMessage = [&](const std::string&) {
        seenDispersion = rules.Values().dispersionKind;
        seenMethod = rules.Values().extractionMethod;
    };
    EXPECT_TRUE(rules.Click(R::kPolychoricRadio));
    EXPECT_EQ(port_.TakeEvents(), Events{Message(T::kCovarianceAdvised)});
    EXPECT_EQ(seenDispersion, 3);
    EXPECT_EQ(seenMethod, 3);

    EXPECT_EQ(rules.Values().extractionMethod, 1);
    EXPECT_TRUE(rules.IsMarked(R::kUlsRadio));
    EXPECT_FALSE(rules.IsMarked(R::kMlRadio));
    EXPECT_FALSE(rules.IsEnabled(R::kMlRadio));
    EXPECT_FALSE(rules.IsEnabled(R::kResidualVariancesCheck));
    for (int id : kScoreControls) {
        EXPECT_TRUE(rules.IsEnabled(id)) << id;
    }

    // A disabled control takes no click.
    EXPECT_FALSE(rules.Click(R::kMlRadio));
    EXPECT_FALSE(rules.Click(R::kResidualVariancesCheck));
    EXPECT_EQ(rules.Values().extractionMethod, 1);
    EXPECT_EQ(rules.Values().showResidualVariances, 1);

    // PCA is allowed with polychoric correlations.
    EXPECT_TRUE(rules.Click(R::kPcaRadio));
    EXPECT_EQ(rules.Values().extractionMethod, 2);

    // Covariance enables ML again but leaves the method as it is.
    EXPECT_TRUE(rules.Click(R::kCovarianceRadio));
    EXPECT_EQ(rules.Values().dispersionKind, 1);
    EXPECT_TRUE(rules.IsEnabled(R::kMlRadio));
    EXPECT_TRUE(rules.IsMarked(R::kPcaRadio));
    EXPECT_TRUE(rules.IsEnabled(R::kResidualVariancesCheck));
    for (int id : kScoreControls) {
        EXPECT_FALSE(rules.IsEnabled(id)) << id;
    }
    EXPECT_TRUE(port_.events.empty());
}

TEST_F(OptionsDialogRulesTest, PearsonAdvisesCovarianceAtEveryClick)
{
    R rules(Defaults(), port_);
    EXPECT_TRUE(rules.Click(R::kPearsonRadio));
    EXPECT_TRUE(rules.Click(R::kPearsonRadio));
    EXPECT_EQ(port_.TakeEvents(), (Events{Message(T::kCovarianceAdvised), Message(T::kCovarianceAdvised)}));
    EXPECT_EQ(rules.Values().dispersionKind, 2);
    EXPECT_FALSE(rules.IsEnabled(R::kResidualVariancesCheck));
    EXPECT_TRUE(rules.IsEnabled(R::kMlRadio));
}

TEST_F(OptionsDialogRulesTest, MethodAndAlphaRadiosSetTheirCodes)
{
    R rules(Defaults(), port_);
    EXPECT_TRUE(rules.Click(R::kMlRadio));
    EXPECT_EQ(rules.Values().extractionMethod, 3);
    EXPECT_TRUE(rules.IsMarked(R::kMlRadio));
    EXPECT_FALSE(rules.IsMarked(R::kUlsRadio));
    EXPECT_TRUE(rules.Click(R::kAlpha10Radio));
    EXPECT_EQ(rules.Values().alphaCode, 10);
    EXPECT_TRUE(rules.Click(R::kAlpha05Radio));
    EXPECT_EQ(rules.Values().alphaCode, 5);
    EXPECT_TRUE(port_.events.empty());
}

TEST_F(OptionsDialogRulesTest, OnlyItsOwnControlsAreKnown)
{
    R rules(Defaults(), port_);
    EXPECT_THROW(rules.Click(R::kFactorCountField), std::invalid_argument);
    EXPECT_THROW(rules.Click(R::kLowestScoreLabel), std::invalid_argument);
    EXPECT_THROW(rules.IsMarked(R::kBootstrapSamplesField), std::invalid_argument);
    EXPECT_THROW(rules.IsEnabled(1035), std::invalid_argument);
    EXPECT_THROW(rules.FieldText(R::kLowestScoreLabel), std::invalid_argument);
}

TEST_F(OptionsDialogRulesTest, ReadingValidatesInOrderAndStopsAtTheFirstFailure)
{
    struct Case {
        int field;
        const char* text;
        Events events;
    };
    const Case cases[] = {
        {R::kBootstrapSamplesField, "-1", {Message(DialogText::kEnterPositiveInteger), Focus(1042)}},
        {R::kBootstrapSamplesField, "", {Message(DialogText::kEnterPositiveInteger), Focus(1042)}},
        {R::kBootstrapSamplesField, "5001", {Range(0, 5000), Focus(1042)}},
        {R::kFactorCountField, "x", {Message(DialogText::kEnterPositiveInteger), Focus(1043)}},
        {R::kFactorCountField, "0", {Range(1, 9), Focus(1043)}},
        {R::kFactorCountField, "101", {Range(1, 9), Focus(1043)}},
        {R::kLowestScoreField, "1.5", {Message(DialogText::kEnterInteger), Focus(1054)}},
        {R::kHighestScoreField, " ", {Message(DialogText::kEnterInteger), Focus(1055)}},
    };
    for (const Case& c : cases) {
        R rules(Defaults(), port_);
        rules.SetFieldText(c.field, c.text);
        rules.SetFieldText(R::kHighestScoreField == c.field ? R::kLowestScoreField : R::kHighestScoreField, "9");
        EXPECT_FALSE(rules.ReadFields());
        EXPECT_EQ(port_.TakeEvents(), c.events) << c.field << " '" << c.text << "'";
        // The highest score is read last, so a failure before it leaves it unread.
        EXPECT_EQ(rules.Values().highestScore, 5) << c.field;
    }
}

TEST_F(OptionsDialogRulesTest, ANumberOutOfRangeIsStoredBeforeItIsRefused)
{
    R rules(Defaults(), port_);
    rules.SetFieldText(R::kFactorCountField, "0");
    EXPECT_FALSE(rules.ReadFields());
    EXPECT_EQ(rules.Values().factorCount, 0u);

    rules.SetFieldText(R::kFactorCountField, "3");
    rules.SetFieldText(R::kBootstrapSamplesField, "4294967295");
    EXPECT_FALSE(rules.ReadFields());
    EXPECT_EQ(rules.Values().bootstrapSamples, 4294967295u);
    EXPECT_EQ(rules.Values().factorCount, 0u);

    rules.SetFieldText(R::kBootstrapSamplesField, "4294967296");
    EXPECT_FALSE(rules.ReadFields());
    EXPECT_EQ(rules.Values().bootstrapSamples, 4294967295u);
}

TEST_F(OptionsDialogRulesTest, AcceptsTheLimitsOfEachField)
{
    R rules(Defaults(), port_);
    rules.SetFieldText(R::kBootstrapSamplesField, "0");
    rules.SetFieldText(R::kFactorCountField, "100");
    rules.SetFieldText(R::kLowestScoreField, "-2147483648");
    rules.SetFieldText(R::kHighestScoreField, "+2147483647");
    EXPECT_TRUE(rules.ReadFields());
    EXPECT_EQ(rules.Values().bootstrapSamples, 0u);
    EXPECT_EQ(rules.Values().factorCount, 100u);
    EXPECT_EQ(rules.Values().lowestScore, INT32_MIN);
    EXPECT_EQ(rules.Values().highestScore, INT32_MAX);
    EXPECT_TRUE(port_.events.empty());
}

TEST_F(OptionsDialogRulesTest, OkAdjustsTooFewSamplesTo500)
{
    R rules(Defaults(), port_);
    rules.SetFieldText(R::kBootstrapSamplesField, "100");
    EXPECT_TRUE(rules.Ok());
    EXPECT_EQ(port_.TakeEvents(), Events{Message(T::kSamplesAdjustedTo500)});
    EXPECT_EQ(rules.Values().bootstrapSamples, 500u);
    EXPECT_EQ(rules.FieldText(R::kBootstrapSamplesField), "500");
}

TEST_F(OptionsDialogRulesTest, OkWarnsAboutManySamplesAndAccepts5000)
{
    for (const char* text : {"2000", "5000"}) {
        R rules(Defaults(), port_);
        rules.SetFieldText(R::kBootstrapSamplesField, text);
        EXPECT_TRUE(rules.Ok());
        EXPECT_EQ(port_.TakeEvents(), Events{Message(T::kLongBootstrap)});
        EXPECT_EQ(rules.FieldText(R::kBootstrapSamplesField), text);
    }
}

TEST_F(OptionsDialogRulesTest, ARefusalOfOkKeepsEveryTypedText)
{
    // Out of range, with a field after it that the reading never reaches.
    for (const char* samples : {"5001", "20000"}) {
        R rules(Defaults(), port_);
        rules.SetFieldText(R::kBootstrapSamplesField, samples);
        rules.SetFieldText(R::kFactorCountField, "3");
        rules.SetFieldText(R::kHighestScoreField, "7");
        EXPECT_FALSE(rules.Ok());
        EXPECT_EQ(port_.TakeEvents(), (Events{Range(0, 5000), Focus(1042)})) << samples;
        EXPECT_EQ(rules.FieldText(R::kBootstrapSamplesField), samples);
        EXPECT_EQ(rules.FieldText(R::kFactorCountField), "3");
        EXPECT_EQ(rules.FieldText(R::kHighestScoreField), "7");
        // Corrected, the same OK takes every typed value.
        rules.SetFieldText(R::kBootstrapSamplesField, "600");
        EXPECT_TRUE(rules.Ok());
        EXPECT_EQ(rules.Values().factorCount, 3u);
        EXPECT_EQ(rules.Values().bootstrapSamples, 600u);
        EXPECT_EQ(rules.Values().highestScore, 7);
        EXPECT_TRUE(port_.TakeEvents().empty());
    }
}

// One refusal with the allowed range, whatever the number beyond it.
TEST_F(OptionsDialogRulesTest, OkWithMoreThan5000SamplesIsRefusedOnceAndStaysOpen)
{
    for (const char* text : {"5001", "10001", "20000"}) {
        R rules(Defaults(), port_);
        rules.SetFieldText(R::kBootstrapSamplesField, text);
        EXPECT_FALSE(rules.Ok());
        EXPECT_EQ(port_.TakeEvents(), (Events{Range(0, 5000), Focus(1042)})) << text;
        EXPECT_EQ(rules.FieldText(R::kBootstrapSamplesField), text);
    }
}

TEST_F(OptionsDialogRulesTest, FactorRefusalsStateTheLimitOfTheItems)
{
    R rules(Defaults(), port_);
    rules.SetFieldText(R::kFactorCountField, "0");
    EXPECT_FALSE(rules.Ok());
    EXPECT_EQ(port_.TakeEvents(), (Events{Range(1, 9), Focus(1043)}));
    rules.SetFieldText(R::kFactorCountField, "101");
    EXPECT_FALSE(rules.Ok());
    EXPECT_EQ(port_.TakeEvents(), (Events{Range(1, 9), Focus(1043)}));
    EXPECT_EQ(TooManyFactorsMessage(10), std::string(T::kTooManyFactors) + " (10): choose 1 to 9.");
    EXPECT_EQ(TooManyFactorsMessage(500), std::string(T::kTooManyFactors) + " (500): choose 1 to 100.");
}

TEST_F(OptionsDialogRulesTest, OkRefusesAsManyFactorsAsVariablesAndStopsAtOnce)
{
    R rules(Defaults(), port_);
    rules.SetFieldText(R::kFactorCountField, "10");
    rules.SetFieldText(R::kBootstrapSamplesField, "100");
    EXPECT_FALSE(rules.Ok());
    EXPECT_EQ(port_.TakeEvents(), Events{Message(TooManyFactorsMessage(10))});
    EXPECT_EQ(rules.Values().bootstrapSamples, 100u);

    rules.SetFieldText(R::kFactorCountField, "9");
    rules.SetFieldText(R::kBootstrapSamplesField, "1000");
    EXPECT_TRUE(rules.Ok());
    EXPECT_EQ(rules.Values().factorCount, 9u);
    EXPECT_TRUE(port_.events.empty());
}

TEST_F(OptionsDialogRulesTest, OkWidensTheScoreRangeToTheData)
{
    R rules(Defaults(), port_);
    rules.SetFieldText(R::kHighestScoreField, "4");
    rules.SetFieldText(R::kLowestScoreField, "2");
    EXPECT_TRUE(rules.Ok());
    EXPECT_EQ(port_.TakeEvents(), (Events{Message(T::kHighestScoreAdjusted), Message(T::kLowestScoreAdjusted)}));
    EXPECT_EQ(rules.Values().highestScore, 5);
    EXPECT_EQ(rules.Values().lowestScore, 1);
    EXPECT_EQ(rules.FieldText(R::kHighestScoreField), "5");
    EXPECT_EQ(rules.FieldText(R::kLowestScoreField), "1");

    R wider(Defaults(), port_);
    wider.SetFieldText(R::kHighestScoreField, "7");
    wider.SetFieldText(R::kLowestScoreField, "0");
    EXPECT_TRUE(wider.Ok());
    EXPECT_TRUE(port_.events.empty());
    EXPECT_EQ(wider.Values().highestScore, 7);
    EXPECT_EQ(wider.Values().lowestScore, 0);
}

TEST_F(OptionsDialogRulesTest, OkKeepsATextThatIsNoNumberForTheUserToCorrect)
{
    R rules(Defaults(), port_);
    rules.SetFieldText(R::kBootstrapSamplesField, "100");
    rules.SetFieldText(R::kFactorCountField, "three");
    rules.SetFieldText(R::kHighestScoreField, "4");
    EXPECT_FALSE(rules.Ok());
    EXPECT_EQ(port_.TakeEvents(), (Events{Message(DialogText::kEnterPositiveInteger), Focus(1043)}));
    EXPECT_EQ(rules.FieldText(R::kFactorCountField), "three");
    EXPECT_EQ(rules.FieldText(R::kBootstrapSamplesField), "100");
    EXPECT_EQ(rules.FieldText(R::kHighestScoreField), "4");
    EXPECT_EQ(rules.Values().factorCount, 2u);

    rules.SetFieldText(R::kFactorCountField, "3");
    EXPECT_TRUE(rules.Ok());
    EXPECT_EQ(port_.TakeEvents(), (Events{Message(T::kSamplesAdjustedTo500), Message(T::kHighestScoreAdjusted)}));
    EXPECT_EQ(rules.Values().factorCount, 3u);
}

}  // namespace
