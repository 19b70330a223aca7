// The report tables of the item discriminations and the invariance indices
// against an independent computation in R (fixtures/reference_analyses.R) on
// data that are not among the examples: every printed number must be the
// reference rounded to the printed digits, and every "**" mark must agree.
// Both analyses run one after the other on one random sequence from its
// start state, as in a fresh program run.
//
// Where the Varimax keeps one of several starts whose criteria differ only by
// rounding, the factors may come in another order; the reference then lists
// every such outcome, and a critical value per factor is checked against the
// range its replicates allow.

#include "analyses/ComputeContext.h"
#include "report/AnalysisSections.h"
#include "data/SampleFileReader.h"
#include "matrix/Matrix.h"
#include "stats/RandomSource.h"
#include "support/report_capture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>
#include "support/test_random.h"

using namespace talver;

namespace {

const std::string kFixtures = std::string(TALVER_SOURCE_DIR) + "/tests/analyses/fixtures/";

struct Configuration {
    std::string name, targetFile, replicationFile;
    int targetCount = 0, replicationCount = 0, items = 0, factors = 0, samples = 0;
    int alphaCode = 0, method = 0, dispersion = 0, lowest = 0, highest = 0;
};

Configuration LoadConfiguration(const std::string& name)
{
    std::ifstream in(kFixtures + "reference_configs.txt");
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        Configuration c;
        fields >> c.name >> c.targetFile >> c.replicationFile >> c.targetCount >> c.replicationCount >> c.items >>
            c.factors >> c.samples >> c.alphaCode >> c.method >> c.dispersion >> c.lowest >> c.highest;
        if (fields && c.name == name) {
            return c;
        }
    }
    ADD_FAILURE() << "no configuration " << name;
    return {};
}

struct Table {
    int rows = 0, cols = 0;
    std::vector<double> values;
    double operator()(int i, int j) const { return values[static_cast<std::size_t>(i) * cols + j]; }
};

using Tables = std::map<std::string, Table>;

const Table& Lookup(const Tables& tables, const std::string& name)
{
    static const Table missing;
    auto found = tables.find(name);
    if (found == tables.end()) {
        ADD_FAILURE() << "reference lacks table " << name;
        return missing;
    }
    return found->second;
}

// The discriminations come once per faithful rotation of the observed Target
// loadings: starts of the Varimax that end on the same optimum differ only
// by rounding, and which of them is kept may hold the factors in another
// order. The indices hold every observed value once per such rotation (one
// row each) and the critical values as the range that the faithful rotations
// of the replicates allow.
struct Reference {
    std::string discriminations, indices;  // "complete" when the tables follow
    std::vector<Tables> alternatives;
    Tables indexTables;
};

Reference LoadReference(const std::string& name)
{
    Reference reference;
    std::ifstream in(kFixtures + "reference_" + name + "_expected.txt");
    Tables* into = nullptr;
    std::string word;
    while (in >> word) {
        if (word == "discriminations") {
            in >> reference.discriminations;
        } else if (word == "alternative") {
            in >> word;
            reference.alternatives.emplace_back();
            into = &reference.alternatives.back();
        } else if (word == "indices") {
            in >> reference.indices;
            into = &reference.indexTables;
        } else if (word == "table" && into != nullptr) {
            std::string tableName;
            Table table;
            in >> tableName >> table.rows >> table.cols;
            table.values.resize(static_cast<std::size_t>(table.rows) * table.cols);
            for (double& value : table.values) {
                in >> value;
            }
            (*into)[tableName] = table;
        }
    }
    return reference;
}

std::string Printf(const char* format, ...)
{
    char text[256];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    return text;
}

// A printed number agrees with the reference when it is the reference rounded
// to three decimals, or one unit off where the reference lies within 1e-6 of
// a rounding boundary (there the two computations may round either way).
::testing::AssertionResult Agrees(const std::string& printed, double reference)
{
    if (printed == Printf("%.3f", reference)) {
        return ::testing::AssertionSuccess();
    }
    const double value = std::stod(printed);
    const double scaled = reference * 1000.0;
    const bool nearBoundary = std::fabs(scaled - std::floor(scaled) - 0.5) < 1e-3;
    if (nearBoundary && std::fabs(value - reference) < 0.001) {
        return ::testing::AssertionSuccess();
    }
    if (std::fabs(reference) < 1e-6 && value == 0.0) {
        return ::testing::AssertionSuccess();  // the sign of a zero
    }
    return ::testing::AssertionFailure() << "printed " << printed << ", reference " << Printf("%.9f", reference);
}

struct Token {
    std::string text;
    bool marked = false;
};

// The numbers of a table line with their "**" marks; brackets and the
// semicolon of an interval separate numbers like blanks.
std::vector<Token> Tokens(std::string line)
{
    for (char& c : line) {
        if (c == '(' || c == ')' || c == ';') {
            c = ' ';
        }
    }
    std::vector<Token> tokens;
    std::istringstream in(line);
    for (std::string word; in >> word;) {
        Token token;
        if (word.size() > 2 && word.compare(word.size() - 2, 2, "**") == 0) {
            token.marked = true;
            word.resize(word.size() - 2);
        }
        token.text = word;
        tokens.push_back(token);
    }
    return tokens;
}

// A printed number that stands for any value in [low, high]: the printed
// number must lie between the two rounded bounds.
::testing::AssertionResult AgreesWithin(const std::string& printed, double low, double high)
{
    if (low == high) {
        return Agrees(printed, low);
    }
    const double value = std::stod(printed);
    if (value >= low - 0.0005 - 1e-6 && value <= high + 0.0005 + 1e-6) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "printed " << printed << ", reference between " << Printf("%.9f", low)
                                         << " and " << Printf("%.9f", high);
}

enum Mark { kNeverMarked = -1, kUnmarked = 0, kMarked = 1, kEitherMark = 2 };

// One expected number of a line: the reference value (or range) and whether
// it carries "**".
struct Cell {
    double low;
    double high;
    int mark;
};

Cell Exact(double value, int mark = kNeverMarked)
{
    return {value, value, mark};
}

// Rebuilds the line from the printed values, so the layout is checked apart
// from the numbers.
using LineFormat = std::function<std::string(const std::vector<double>& values, const std::vector<bool>& marks)>;

void CheckLine(const std::string& line, int item, const std::vector<Cell>& cells, const LineFormat& format,
               const std::string& where)
{
    SCOPED_TRACE(where + ": \"" + line + "\"");
    std::vector<Token> tokens = Tokens(line);
    std::size_t first = 0;
    if (item > 0) {
        ASSERT_FALSE(tokens.empty());
        EXPECT_EQ(tokens[0].text, std::to_string(item));
        first = 1;
    }
    ASSERT_EQ(tokens.size(), first + cells.size());
    std::vector<double> values;
    std::vector<bool> marks;
    for (std::size_t k = 0; k < cells.size(); ++k) {
        const Token& token = tokens[first + k];
        EXPECT_TRUE(AgreesWithin(token.text, cells[k].low, cells[k].high)) << "number " << k + 1;
        if (cells[k].mark == kNeverMarked) {
            EXPECT_FALSE(token.marked) << "number " << k + 1;
        } else if (cells[k].mark != kEitherMark) {
            EXPECT_EQ(token.marked, cells[k].mark == kMarked) << "mark of number " << k + 1;
        }
        values.push_back(std::stod(token.text));
        marks.push_back(token.marked);
    }
    EXPECT_EQ(line, format(values, marks));
}

class ReportLines {
public:
    explicit ReportLines(std::vector<std::string> lines) : lines_(std::move(lines)) {}

    // Index of the first line equal to `text` at or after `from`.
    std::size_t Find(const std::string& text, std::size_t from = 0) const
    {
        for (std::size_t i = from; i < lines_.size(); ++i) {
            if (lines_[i] == text) {
                return i;
            }
        }
        return lines_.size();
    }
    bool Has(std::size_t i) const { return i < lines_.size(); }
    const std::string& operator[](std::size_t i) const
    {
        static const std::string none = "<past the end of the report>";
        return i < lines_.size() ? lines_[i] : none;
    }
    std::size_t Size() const { return lines_.size(); }

private:
    std::vector<std::string> lines_;
};

class IgnoredTexts : public AnalysisProgress {
public:
    void ShowStep(const std::string&) override {}
    void ShowProgress(const std::string&) override {}
};

class ReferenceReportTest : public ::testing::TestWithParam<const char*> {
protected:
    void TearDown() override { FreeAllMatrices(); }

    Matrix* Load(const std::string& file, int rows, int cols)
    {
        Matrix* data = NewMatrix(rows, cols);
        const SampleReadResult read = ReadSampleFile(kFixtures + file, data);
        EXPECT_TRUE(read.ok) << file << ": " << read.detail;
        return data;
    }

    Matrix* Filled(int rows, double value)
    {
        Matrix* m = NewMatrix(rows, 1);
        for (int i = 0; i < rows; ++i) {
            (*m)(i, 0) = value;
        }
        return m;
    }

    // Runs both analyses as one program run does and returns their report.
    ReportLines Run(const Configuration& c)
    {
        Matrix* target = Load(c.targetFile, c.targetCount, c.items);
        Matrix* replication = Load(c.replicationFile, c.replicationCount, c.items);
        Matrix* lowest = Filled(c.items, c.lowest);
        Matrix* highest = Filled(c.items, c.highest);
        IgnoredTexts display;
        CapturedReport report;
        ResetTestRandom();
        ComputeContext compute{display, TestRandom(), 1};
        AnalyzeItemDiscriminations(compute, target, replication, lowest, highest, c.factors, c.samples,
                                   c.highest - c.lowest + 1, c.alphaCode, 0.0001, c.method, c.dispersion, true, true, {},
                                   report.context);
        AnalyzeInvarianceIndices(compute, target, replication, lowest, highest, c.factors, c.samples, c.alphaCode,
                                 0.0001, c.method, c.dispersion, true, true, {}, report.context);
        return ReportLines(report.Lines());
    }
};

std::string Label(const Configuration& c, int j)
{
    return Printf("%c%3i", c.method == 1 ? 'F' : 'C', j);
}

// A p x m table of loadings, of intervals (two tables) or of differences.
enum class Kind { Values, Intervals, Differences };

void CheckLoadingTable(const ReportLines& lines, std::size_t at, const Configuration& c, Kind kind,
                       const std::vector<const Table*>& tables, const Table* marks, const std::string& where)
{
    ASSERT_TRUE(lines.Has(at + c.items)) << where;
    std::string header = kind == Kind::Intervals ? "Item          " : "Item     ";
    const char* gap = kind == Kind::Values ? "       " : kind == Kind::Intervals ? "                   " : "          ";
    for (int j = 1; j <= c.factors; ++j) {
        header += Label(c, j) + gap;
    }
    EXPECT_EQ(lines[at], header) << where;
    for (int i = 0; i < c.items; ++i) {
        std::vector<Cell> cells;
        for (int j = 0; j < c.factors; ++j) {
            for (const Table* table : tables) {
                cells.push_back(Exact((*table)(i, j), marks ? static_cast<int>((*marks)(i, j)) : kNeverMarked));
            }
        }
        const LineFormat format = [&](const std::vector<double>& v, const std::vector<bool>& m) {
            std::string line = Printf("%3i  ", i + 1);
            for (int j = 0; j < c.factors; ++j) {
                if (kind == Kind::Values) {
                    line += Printf("% 9.3f  ", v[j]);
                } else if (kind == Kind::Intervals) {
                    line += Printf("(% 9.3f;% 9.3f)  ", v[2 * j], v[2 * j + 1]);
                } else {
                    line += Printf(m[j] ? "% 9.3f**   " : "% 9.3f     ", v[j]);
                }
            }
            return line;
        };
        CheckLine(lines[at + 1 + i], i + 1, cells, format, where + " item " + std::to_string(i + 1));
    }
}

void CheckResidualTable(const ReportLines& lines, std::size_t at, const Configuration& c, Kind kind,
                        const std::vector<const Table*>& tables, const Table* marks, const std::string& where,
                        const std::vector<const Table*>& highs = {})
{
    ASSERT_TRUE(lines.Has(at + 1 + c.items)) << where;
    EXPECT_EQ(lines[at], kind == Kind::Intervals ? "Item     Residual Variance" : "Item     Residual") << where;
    EXPECT_EQ(lines[at + 1], kind == Kind::Intervals ? "         Interval" : "         Variance") << where;
    for (int i = 0; i < c.items; ++i) {
        std::vector<Cell> cells;
        for (std::size_t k = 0; k < tables.size(); ++k) {
            cells.push_back(Exact((*tables[k])(i, 0), marks ? static_cast<int>((*marks)(i, 0)) : kNeverMarked));
            // A bound that rounding decides lies anywhere between the two.
            if (k < highs.size() && highs[k] != nullptr) {
                cells.back().low = std::min(cells.back().low, (*highs[k])(i, 0));
                cells.back().high = std::max(cells.back().high, (*highs[k])(i, 0));
            }
        }
        const LineFormat format = [&](const std::vector<double>& v, const std::vector<bool>& m) {
            if (kind == Kind::Intervals) {
                return Printf("%3i  (% 9.3f;% 9.3f)", i + 1, v[0], v[1]);
            }
            return Printf(m[0] ? "%3i  % 9.3f**" : "%3i  % 9.3f", i + 1, v[0]);
        };
        CheckLine(lines[at + 2 + i], i + 1, cells, format, where + " item " + std::to_string(i + 1));
    }
}

// Start of the table titled `title` for `sample`: the line after its heading.
std::size_t TableAfter(const ReportLines& lines, const std::string& title, const std::string& sample,
                       std::size_t from)
{
    for (std::size_t at = lines.Find(title, from); lines.Has(at); at = lines.Find(title, at + 1)) {
        if (lines[at + 1] == sample) {
            return at + 3;
        }
    }
    ADD_FAILURE() << "no table \"" << title << "\" of the " << sample;
    return lines.Size();
}

// Whether the printed Target loadings are those of `tables`.
bool TargetLoadingsMatch(const ReportLines& lines, std::size_t at, const Configuration& c, const Tables& tables)
{
    const Table& loadings = Lookup(tables, "LT");
    for (int i = 0; i < c.items; ++i) {
        const std::vector<Token> tokens = Tokens(lines[at + 1 + i]);
        if (tokens.size() != static_cast<std::size_t>(c.factors) + 1) {
            return false;
        }
        for (int j = 0; j < c.factors; ++j) {
            if (!Agrees(tokens[1 + j].text, loadings(i, j))) {
                return false;
            }
        }
    }
    return true;
}

void CheckDiscriminations(const ReportLines& lines, const Configuration& c, const Reference& reference)
{
    const std::size_t section = lines.Find("ITEM DISCRIMINATIONS");
    ASSERT_TRUE(lines.Has(section)) << "no discriminations section";
    ASSERT_FALSE(reference.alternatives.empty());
    const std::string loadings = "Item discriminations (Loading Matrix)";
    const std::string intervals = "Bias-corrected Percentile Intervals of Item discriminations";
    std::size_t at = TableAfter(lines, loadings, "Target Sample", section);
    const Tables* chosen = &reference.alternatives.front();
    for (const Tables& alternative : reference.alternatives) {
        if (TargetLoadingsMatch(lines, at, c, alternative)) {
            chosen = &alternative;
            break;
        }
    }
    auto r = [&](const char* name) { return &Lookup(*chosen, name); };
    CheckLoadingTable(lines, at, c, Kind::Values, {r("LT")}, nullptr, "Target loadings");
    at = TableAfter(lines, intervals, "Target Sample", at);
    CheckLoadingTable(lines, at, c, Kind::Intervals, {r("LT_lower"), r("LT_upper")}, nullptr, "Target intervals");
    at = TableAfter(lines, loadings, "Replication Sample", at);
    CheckLoadingTable(lines, at, c, Kind::Values, {r("LR")}, nullptr, "Replication loadings");
    at = TableAfter(lines, intervals, "Replication Sample", at);
    CheckLoadingTable(lines, at, c, Kind::Intervals, {r("LR_lower"), r("LR_upper")}, nullptr,
                      "Replication intervals");
    at = lines.Find("Difference Values of Item discriminations", at);
    ASSERT_TRUE(lines.Has(at)) << "no difference table";
    CheckLoadingTable(lines, at + 2, c, Kind::Differences, {r("D")}, r("D_flag"), "Differences");
}

void CheckResidualVariances(const ReportLines& lines, const Configuration& c, const Reference& reference)
{
    // Residual variances do not depend on the rotation.
    auto r = [&](const char* name) { return &Lookup(reference.alternatives.front(), name); };
    // The other end of interval bounds that rounding decides (a residual
    // variance at its bound of 0), where the reference gives one.
    auto other = [&](const std::string& name) -> const Table* {
        const Tables& tables = reference.alternatives.front();
        const auto found = tables.find(name + "_high");
        return found == tables.end() ? nullptr : &found->second;
    };
    const std::size_t section = lines.Find("ITEM RESIDUAL VARIANCES");
    if (c.dispersion != 1) {
        EXPECT_FALSE(lines.Has(section)) << "residual variances are written for covariances only";
        return;
    }
    ASSERT_TRUE(lines.Has(section)) << "no residual variances section";
    const std::string values = "Residual Variances ";
    const std::string intervals = "Bias-corrected Percentile Intervals of Residual Variances ";
    std::size_t at = TableAfter(lines, values, "Target Sample", section);
    CheckResidualTable(lines, at, c, Kind::Values, {r("psiT")}, nullptr, "Target residual variances");
    at = TableAfter(lines, intervals, "Target Sample", at);
    CheckResidualTable(lines, at, c, Kind::Intervals, {r("psiT_lower"), r("psiT_upper")}, nullptr,
                       "Target residual intervals", {other("psiT_lower"), other("psiT_upper")});
    at = TableAfter(lines, values, "Replication Sample", at);
    CheckResidualTable(lines, at, c, Kind::Values, {r("psiR")}, nullptr, "Replication residual variances");
    at = TableAfter(lines, intervals, "Replication Sample", at);
    CheckResidualTable(lines, at, c, Kind::Intervals, {r("psiR_lower"), r("psiR_upper")}, nullptr,
                       "Replication residual intervals", {other("psiR_lower"), other("psiR_upper")});
    at = lines.Find("Difference Values in Residual Variances ", at);
    ASSERT_TRUE(lines.Has(at)) << "no residual difference table";
    CheckResidualTable(lines, at + 2, c, Kind::Differences, {r("d")}, r("d_flag"), "Residual differences");
}

// Where the rows of one index table start: the line after its alpha line.
std::size_t IndexRows(const ReportLines& lines, const std::string& title, std::size_t from)
{
    const std::size_t at = lines.Find(title, from);
    return lines.Has(at) ? at + 4 : lines.Size();
}

std::string FactorTitle(const Configuration& c)
{
    return c.method == 1 ? "Overall Fit Indices Per Factor" : "Overall Fit Indices Per Component";
}

// One family of indices: per item, per factor and overall, each observed
// value marked when it lies beyond its critical value.
void CheckIndexFamily(const ReportLines& lines, std::size_t from, const Configuration& c, const Tables& tables,
                      const std::string& family, std::size_t alternative)
{
    const bool congruence = family == "cong";
    const std::string alpha = c.alphaCode == 5 ? "at alpha = 0.05" : "at alpha = 0.10";
    auto rows = [&](std::size_t at, const std::string& name, int count, bool numbered, const std::string& what) {
        const Table& observed = Lookup(tables, name);
        const Table& low = Lookup(tables, name + "_crit_low");
        const Table& high = Lookup(tables, name + "_crit_high");
        for (int k = 0; k < count; ++k) {
            const double value = observed(static_cast<int>(alternative), k);
            int mark = kEitherMark;
            if (congruence ? value < low(k, 0) : value > high(k, 0)) {
                mark = kMarked;
            } else if (congruence ? value >= high(k, 0) : value <= low(k, 0)) {
                mark = kUnmarked;
            }
            const std::vector<Cell> cells = {Exact(value, mark), {low(k, 0), high(k, 0), kNeverMarked}};
            const LineFormat format = [&](const std::vector<double>& v, const std::vector<bool>& m) {
                const std::string middle = m[0] ? "% 5.3f**      % 5.3f" : "% 5.3f        % 5.3f";
                const std::string numberPart = numbered ? Printf("%3i         ", k + 1) : std::string();
                return numberPart + Printf(middle.c_str(), v[0], v[1]);
            };
            CheckLine(lines[at + k], numbered ? k + 1 : 0, cells, format, what + " " + std::to_string(k + 1));
        }
    };

    std::size_t at = lines.Find("Overall Fit Indices Per Item", from);
    ASSERT_TRUE(lines.Has(at + 3 + c.items)) << family << ": no item table";
    EXPECT_EQ(lines[at + 2], "Item         Observed      Critical value");
    EXPECT_EQ(lines[at + 3], (congruence ? "             Congruence    " : "             Similitude    ") + alpha);
    rows(at + 4, family + "_item", c.items, true, family + " item");

    at = lines.Find(FactorTitle(c), at);
    ASSERT_TRUE(lines.Has(at + 3 + c.factors)) << family << ": no factor table";
    EXPECT_EQ(lines[at + 2],
              c.method == 1 ? "Factor       Observed      Critical value" : "Component    Observed      Critical value");
    EXPECT_EQ(lines[at + 3], (congruence ? "             Congruence    " : "             Discrepancy   ") + alpha);
    rows(at + 4, family + "_factor", c.factors, true, family + " factor");

    at = lines.Find("Overall Fit Index", at);
    ASSERT_TRUE(lines.Has(at + 4)) << family << ": no overall index";
    EXPECT_EQ(lines[at + 2], " Observed      Critical value");
    EXPECT_EQ(lines[at + 3], (congruence ? " Congruence    " : " Discrepancy   ") + alpha);
    rows(at + 4, family + "_all", 1, false, family + " overall");
}

// The faithful rotation of the observed Target loadings whose per-factor
// indices were printed (the other indices do not depend on it).
std::size_t PrintedAlternative(const ReportLines& lines, std::size_t congruence, std::size_t discrepancy,
                               const Configuration& c, const Tables& tables)
{
    const Table& cong = Lookup(tables, "cong_factor");
    const Table& disc = Lookup(tables, "disc_factor");
    const std::size_t congRows = IndexRows(lines, FactorTitle(c), congruence);
    const std::size_t discRows = IndexRows(lines, FactorTitle(c), discrepancy);
    for (int alternative = 0; alternative < cong.rows; ++alternative) {
        bool match = true;
        for (int k = 0; k < c.factors && match; ++k) {
            const std::vector<Token> congTokens = Tokens(lines[congRows + k]);
            const std::vector<Token> discTokens = Tokens(lines[discRows + k]);
            match = congTokens.size() == 3 && discTokens.size() == 3 &&
                    Agrees(congTokens[1].text, cong(alternative, k)) && Agrees(discTokens[1].text, disc(alternative, k));
        }
        if (match) {
            return static_cast<std::size_t>(alternative);
        }
    }
    return 0;
}

void CheckIndices(const ReportLines& lines, const Configuration& c, const Reference& reference)
{
    const std::size_t section = lines.Find("OVERALL INDICES OF ITEM MEASUREMENT INVARIANCE");
    ASSERT_TRUE(lines.Has(section)) << "no indices section";
    if (c.dispersion == 3) {
        EXPECT_EQ(lines[section + 2], "Warning: Dispersiona matrices analyzed for this analysis is Pearson correlation");
    }
    const std::size_t congruence = lines.Find("CONGRUENCE INDICES", section);
    ASSERT_TRUE(lines.Has(congruence)) << "no congruence indices";
    const std::size_t discrepancy = lines.Find("DISCREPANCY INDICES", congruence);
    ASSERT_TRUE(lines.Has(discrepancy)) << "no discrepancy indices";
    const std::size_t alternative = PrintedAlternative(lines, congruence, discrepancy, c, reference.indexTables);
    CheckIndexFamily(lines, congruence, c, reference.indexTables, "cong", alternative);
    CheckIndexFamily(lines, discrepancy, c, reference.indexTables, "disc", alternative);
}

TEST_P(ReferenceReportTest, TablesAgreeWithIndependentComputation)
{
    const Configuration c = LoadConfiguration(GetParam());
    ASSERT_FALSE(c.name.empty());
    const Reference reference = LoadReference(c.name);
    ASSERT_EQ(reference.discriminations, "complete");
    ASSERT_EQ(reference.indices, "complete");
    const ReportLines lines = Run(c);
    CheckDiscriminations(lines, c, reference);
    CheckResidualVariances(lines, c, reference);
    CheckIndices(lines, c, reference);
}

INSTANTIATE_TEST_SUITE_P(Configurations, ReferenceReportTest,
                         ::testing::Values("uls_cov", "uls_pearson", "pca_cov", "pca_pearson", "ml_cov",
                                           "ml_pearson", "uls_polychoric", "uls_cov_three", "pca_pearson_three",
                                           "ml_cov_three", "uls_cov_one"),
                         [](const ::testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

} // namespace
