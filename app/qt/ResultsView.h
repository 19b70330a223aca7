#pragma once
// The results of a run inside the program: the report's tables (with the
// items' names and the significant entries highlighted) on one page, its
// charts on another, a button that opens the text report in the editor and
// one that saves the chart shown as SVG or PNG. It opens on the tables when
// they hold a warning, else on the first chart.

#include "report/ReportCharts.h"

#include <QDialog>

#include <string>
#include <vector>

class QListWidget;
class QSvgWidget;
class QTabWidget;
class QTextBrowser;

namespace talver {

class ResultsView : public QDialog {
    Q_OBJECT

public:
    ResultsView(const ReportDetails& details, const RunResults& results, const std::string& reportPath,
                QWidget* parent = nullptr);

    int ChartCount() const { return static_cast<int>(charts_.size()); }
    const ReportChart& Chart(int index) const { return charts_[static_cast<std::size_t>(index)]; }
    // Shows chart `index` on the charts page.
    void ShowChart(int index);
    void ShowTables();
    bool ShowsTables() const;
    // Saves chart `index`: as the SVG itself when the name ends in ".svg",
    // else drawn into a PNG at twice its size. Returns the reason on failure.
    bool SaveChart(int index, const QString& path, QString& reason) const;

private:
    QWidget* MakeChartsPage();
    void AskAndSaveChart();

    std::vector<ReportChart> charts_;
    std::string reportPath_;
    QTabWidget* pages_ = nullptr;
    QTextBrowser* tables_ = nullptr;
    QListWidget* chartList_ = nullptr;
    QSvgWidget* chartView_ = nullptr;
};

} // namespace talver
