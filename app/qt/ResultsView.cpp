#include "app/qt/ResultsView.h"

#include "app/qt/MessageBox.h"
#include "app/qt/ReportOpener.h"
#include "report/HtmlReport.h"
#include "report/RunResults.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QImage>
#include <QListWidget>
#include <QListWidgetItem>
#include <QPainter>
#include <QPushButton>
#include <QSaveFile>
#include <QSvgRenderer>
#include <QSvgWidget>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextOption>
#include <QVBoxLayout>

namespace talver {

namespace {

constexpr int kTablesPage = 0;
constexpr int kChartsPage = 1;

QByteArray SvgBytes(const ReportChart& chart)
{
    return QByteArray::fromStdString(chart.svg);
}

} // namespace

ResultsView::ResultsView(const ReportDetails& details, const RunResults& results, const std::string& reportPath,
                         QWidget* parent)
    : QDialog(parent), charts_(ReportCharts(details, results)), reportPath_(reportPath)
{
    setObjectName(QStringLiteral("resultsView"));
    setWindowTitle(QStringLiteral("TALVER: results"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    setModal(false);

    tables_ = new QTextBrowser;
    tables_->setObjectName(QStringLiteral("resultsTables"));
    tables_->setOpenLinks(true);
    // Headers wrap between words, never inside one ("Replicates completed"
    // rather than "Replicate s complete d"); a table wider than the view
    // scrolls.
    tables_->setWordWrapMode(QTextOption::WordWrap);
    tables_->setHtml(QString::fromStdString(HtmlReport(details, results, false)));

    pages_ = new QTabWidget;
    pages_->addTab(tables_, QStringLiteral("Tables"));
    pages_->addTab(MakeChartsPage(), QStringLiteral("Charts"));

    auto* openReport = new QPushButton(QStringLiteral("Open Text Report"));
    openReport->setObjectName(QStringLiteral("openTextReport"));
    auto* saveChart = new QPushButton(QStringLiteral("Save Chart..."));
    saveChart->setObjectName(QStringLiteral("saveChart"));
    saveChart->setEnabled(!charts_.empty());
    auto* close = new QPushButton(QStringLiteral("Close"));
    connect(openReport, &QPushButton::clicked, this, [this] {
        if (!OpenReportInEditor(reportPath_)) {
            ShowTalverMessage(this, "No editor could be started on the report. Set TALVER_EDITOR to the editor you "
                                 "want.");
        }
    });
    connect(saveChart, &QPushButton::clicked, this, &ResultsView::AskAndSaveChart);
    // A chart is saved from the page that shows it, never unseen from the tables.
    connect(pages_, &QTabWidget::currentChanged, this,
            [this, saveChart](int page) { saveChart->setEnabled(page == kChartsPage && !charts_.empty()); });
    connect(close, &QPushButton::clicked, this, &QDialog::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(openReport);
    buttons->addWidget(saveChart);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_, 1);
    layout->addLayout(buttons);
    resize(980, 720);
    // A warning is on the tables' page: the window opens there, so that the
    // warning is seen before any chart.
    const bool warned = !ReportWarnings(details, results).empty();
    if (!charts_.empty()) {
        ShowChart(0);
    }
    if (warned || charts_.empty()) {
        ShowTables();
    }
}

QWidget* ResultsView::MakeChartsPage()
{
    chartList_ = new QListWidget;
    chartList_->setObjectName(QStringLiteral("chartList"));
    for (const ReportChart& chart : charts_) {
        auto* item = new QListWidgetItem(QString::fromStdString(chart.title), chartList_);
        item->setToolTip(item->text());
    }
    // Whole names, wrapped: "... loadings on Factor 1" and "... on Factor 2"
    // differ only at their end.
    chartList_->setWordWrap(true);
    chartList_->setTextElideMode(Qt::ElideNone);
    chartList_->setFixedWidth(300);
    chartView_ = new QSvgWidget;
    chartView_->setObjectName(QStringLiteral("chartView"));
    connect(chartList_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row < ChartCount()) {
            chartView_->load(SvgBytes(Chart(row)));
            // Keeps the chart's proportions as the window changes size.
            chartView_->renderer()->setAspectRatioMode(Qt::KeepAspectRatio);
        }
    });
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    layout->addWidget(chartList_);
    layout->addWidget(chartView_, 1);
    return page;
}

void ResultsView::ShowChart(int index)
{
    pages_->setCurrentIndex(kChartsPage);
    chartList_->setCurrentRow(index);
}

void ResultsView::ShowTables()
{
    pages_->setCurrentIndex(kTablesPage);
}

bool ResultsView::ShowsTables() const
{
    return pages_->currentIndex() == kTablesPage;
}

bool ResultsView::SaveChart(int index, const QString& path, QString& reason) const
{
    if (index < 0 || index >= ChartCount()) {
        reason = QStringLiteral("there is no chart to save");
        return false;
    }
    const QByteArray svg = SvgBytes(Chart(index));
    if (!path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        QSvgRenderer renderer(svg);
        QImage image(renderer.defaultSize() * 2, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        painter.end();
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
            reason = file.errorString();
            return false;
        }
        return true;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(svg) != svg.size() || !file.commit()) {
        reason = file.errorString();
        return false;
    }
    return true;
}

void ResultsView::AskAndSaveChart()
{
    const int index = chartList_->currentRow();
    if (index < 0 || pages_->currentIndex() != kChartsPage) {
        return;
    }
    QString selected;
    QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Save Chart"), QString::fromStdString(Chart(index).id) + QStringLiteral(".svg"),
        QStringLiteral("SVG picture (*.svg);;PNG image (*.png)"), &selected);
    if (path.isEmpty()) {
        return;
    }
    const QString suffix = selected.startsWith(QStringLiteral("PNG")) ? QStringLiteral(".png") : QStringLiteral(".svg");
    if (!path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive) &&
        !path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) {
        path += suffix;
    }
    QString reason;
    if (!SaveChart(index, path, reason)) {
        ShowTalverMessage(this, "The chart could not be saved to \"" + path.toStdString() + "\" (" +
                                 reason.toStdString() + "). Choose another folder or name.");
    }
}

} // namespace talver
