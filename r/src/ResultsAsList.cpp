#include "ResultsAsList.h"

#include <string>
#include <vector>

namespace talver {

namespace {

// The columns of a table that is built row by row, in the order of their
// first use.
class Columns {
public:
    void Integer(const char* name, int value) { Column(name, Kind::Integer).integers.push_back(value); }
    void Number(const char* name, double value) { Column(name, Kind::Number).numbers.push_back(value); }
    void Flag(const char* name, bool value) { Column(name, Kind::Flag).integers.push_back(value ? 1 : 0); }

    Rcpp::List AsList() const
    {
        Rcpp::List list(columns_.size());
        Rcpp::CharacterVector names(columns_.size());
        for (std::size_t k = 0; k < columns_.size(); ++k) {
            const Entry& column = columns_[k];
            names[k] = column.name;
            if (column.kind == Kind::Number) {
                list[k] = Rcpp::NumericVector(column.numbers.begin(), column.numbers.end());
            } else if (column.kind == Kind::Integer) {
                list[k] = Rcpp::IntegerVector(column.integers.begin(), column.integers.end());
            } else {
                list[k] = Rcpp::LogicalVector(column.integers.begin(), column.integers.end());
            }
        }
        list.attr("names") = names;
        return list;
    }

private:
    enum class Kind { Integer, Number, Flag };
    struct Entry {
        std::string name;
        Kind kind;
        std::vector<int> integers;
        std::vector<double> numbers;
    };

    Entry& Column(const char* name, Kind kind)
    {
        for (Entry& column : columns_) {
            if (column.name == name) {
                return column;
            }
        }
        columns_.push_back(Entry{name, kind, {}, {}});
        return columns_.back();
    }

    std::vector<Entry> columns_;
};

Rcpp::List Difficulties(const DifficultyResults& results)
{
    Columns items;
    for (std::size_t i = 0; i < results.items.size(); ++i) {
        const DifficultyItem& item = results.items[i];
        items.Integer("item", static_cast<int>(i) + 1);
        items.Number("targetMean", item.targetMean);
        items.Number("replicationMean", item.replicationMean);
        items.Number("t", item.t);
        items.Flag("tSignificant", item.tSignificant);
        items.Number("d", item.d);
        items.Flag("dSignificant", item.dSignificant);
    }
    return Rcpp::List::create(Rcpp::Named("criticalValue") = results.criticalValue,
                              Rcpp::Named("items") = items.AsList());
}

Rcpp::List Hotelling(const HotellingResults& results)
{
    Rcpp::List list = Rcpp::List::create(Rcpp::Named("df1") = results.df1, Rcpp::Named("df2") = results.df2);
    if (results.computable) {
        list["tSquare"] = results.tSquare;
        list["F"] = results.f;
        list["P"] = results.p;
    }
    return list;
}

Rcpp::List Intervals(const ResultTable& values, const ResultTable& lower, const ResultTable& upper, bool withFactors)
{
    Columns table;
    for (int i = 0; i < values.rows; ++i) {
        for (int j = 0; j < values.cols; ++j) {
            table.Integer("item", i + 1);
            if (withFactors) {
                table.Integer("factor", j + 1);
            }
            table.Number("value", values(i, j));
            table.Number("lower", lower(i, j));
            table.Number("upper", upper(i, j));
        }
    }
    return table.AsList();
}

Rcpp::List Differences(const ResultTable& differences, const FlagTable& significant, bool withFactors)
{
    Columns table;
    for (int i = 0; i < differences.rows; ++i) {
        for (int j = 0; j < differences.cols; ++j) {
            table.Integer("item", i + 1);
            if (withFactors) {
                table.Integer("factor", j + 1);
            }
            table.Number("value", differences(i, j));
            table.Flag("significant", significant(i, j));
        }
    }
    return table.AsList();
}

Rcpp::List Loadings(const DiscriminationResults& d)
{
    const auto sample = [](const SampleDiscriminations& s) {
        return Intervals(s.loadings, s.loadingLower, s.loadingUpper, true);
    };
    return Rcpp::List::create(Rcpp::Named("target") = sample(d.target),
                              Rcpp::Named("replication") = sample(d.replication),
                              Rcpp::Named("differences") =
                                  Differences(d.loadingDifferences, d.loadingSignificant, true));
}

Rcpp::List ResidualVariances(const DiscriminationResults& d)
{
    const auto sample = [](const SampleDiscriminations& s) {
        return Intervals(s.residualVariances, s.residualLower, s.residualUpper, false);
    };
    return Rcpp::List::create(Rcpp::Named("target") = sample(d.target),
                              Rcpp::Named("replication") = sample(d.replication),
                              Rcpp::Named("differences") =
                                  Differences(d.residualDifferences, d.residualSignificant, false));
}

Rcpp::List IndexEntries(const char* numberKey, const std::vector<double>& observed,
                        const std::vector<double>& critical, const std::vector<bool>& significant)
{
    Columns table;
    for (std::size_t k = 0; k < observed.size(); ++k) {
        table.Integer(numberKey, static_cast<int>(k) + 1);
        table.Number("observed", observed[k]);
        table.Number("critical", critical[k]);
        table.Flag("significant", significant[k]);
    }
    return table.AsList();
}

Rcpp::List IndexFamily(const std::vector<double>& items, const std::vector<double>& criticalItems,
                       const std::vector<bool>& itemsSignificant, const std::vector<double>& factors,
                       const std::vector<double>& criticalFactors, const std::vector<bool>& factorsSignificant,
                       double overall, double criticalOverall, bool overallSignificant)
{
    return Rcpp::List::create(
        Rcpp::Named("items") = IndexEntries("item", items, criticalItems, itemsSignificant),
        Rcpp::Named("factors") = IndexEntries("factor", factors, criticalFactors, factorsSignificant),
        Rcpp::Named("overall") = Rcpp::List::create(Rcpp::Named("observed") = overall,
                                                    Rcpp::Named("critical") = criticalOverall,
                                                    Rcpp::Named("significant") = overallSignificant));
}

const char* DispersionName(DispersionKind kind)
{
    return kind == DispersionKind::Covariance ? "covariance" : kind == DispersionKind::Pearson ? "pearson" : "polychoric";
}

Rcpp::List Invariance(const InvarianceResults& results)
{
    const InvarianceIndexSet& o = results.observed;
    const InvarianceIndexSet& c = results.critical;
    const InvarianceSignificance& s = results.significant;
    Rcpp::List list = Rcpp::List::create(Rcpp::Named("dispersionAnalysed") = DispersionName(results.analysed));
    if (results.showCongruence) {
        list["congruence"] = IndexFamily(o.itemCongruence, c.itemCongruence, s.itemCongruence, o.factorCongruence,
                                         c.factorCongruence, s.factorCongruence, o.overallCongruence,
                                         c.overallCongruence, s.overallCongruence);
    }
    if (results.showDiscrepancy) {
        list["discrepancy"] = IndexFamily(o.itemDiscrepancy, c.itemDiscrepancy, s.itemDiscrepancy,
                                          o.factorDiscrepancy, c.factorDiscrepancy, s.factorDiscrepancy,
                                          o.overallDiscrepancy, c.overallDiscrepancy, s.overallDiscrepancy);
    }
    return list;
}

Rcpp::List Warnings(const RunResults& results)
{
    std::vector<std::string> sections;
    std::vector<std::string> texts;
    for (const AnalysisWarning& warning : RunWarnings(results)) {
        sections.push_back(warning.section);
        texts.push_back(warning.text);
    }
    return Rcpp::List::create(Rcpp::Named("section") = sections, Rcpp::Named("text") = texts);
}

Rcpp::List SampleTallyList(const SampleTally& tally)
{
    const RedrawCounts& r = tally.redraws;
    return Rcpp::List::create(
        Rcpp::Named("redraws") = Rcpp::List::create(
            Rcpp::Named("polychoricEmptyCategory") = r.emptyCategory, Rcpp::Named("mlNotConverged") = r.notConverged,
            Rcpp::Named("itemWithoutVariance") = r.noVariance, Rcpp::Named("notFinite") = r.notFinite,
            Rcpp::Named("total") = r.Total()),
        Rcpp::Named("improperSolutions") = tally.improperSolutions);
}

Rcpp::List TallyList(const BootstrapTally& tally)
{
    return Rcpp::List::create(Rcpp::Named("replicates") = tally.replicates,
                              Rcpp::Named("target") = SampleTallyList(tally.target),
                              Rcpp::Named("replication") = SampleTallyList(tally.replication));
}

// What each bootstrap that ran went through, in the layout of the JSON's
// "bootstrap" object.
Rcpp::List Tallies(const RunResults& results)
{
    Rcpp::List list;
    if (results.discriminations && results.discriminations->bootstrap.ran) {
        list["itemDiscriminations"] = TallyList(results.discriminations->bootstrap);
    }
    if (results.invariance && results.invariance->bootstrap.ran) {
        list["invarianceIndices"] = TallyList(results.invariance->bootstrap);
    }
    return list;
}

} // namespace

Rcpp::List ResultsAsList(const RunResults& results)
{
    Rcpp::List list;
    if (results.difficulties) {
        list["itemDifficulties"] = Difficulties(*results.difficulties);
    }
    if (const DiscriminationResults* d = ReportedLoadings(results)) {
        list["itemDiscriminations"] = Loadings(*d);
    }
    if (const DiscriminationResults* d = ReportedResidualVariances(results)) {
        list["itemResidualVariances"] = ResidualVariances(*d);
    }
    if (results.hotelling) {
        list["hotellingTSquare"] = Hotelling(*results.hotelling);
    }
    if (const InvarianceResults* indices = ReportedIndices(results)) {
        list["invarianceIndices"] = Invariance(*indices);
    }
    list["warnings"] = Warnings(results);
    list["bootstrap"] = Tallies(results);
    return list;
}

} // namespace talver
