// A list report of the eight first columns of the 100,000-row orders table:
// preparing every page and exporting it as text, printing it into a PDF, and
// the time until the preview has its first page. Peak memory is reported
// as the process's maximum resident size.
#include "Startup.h"
#include "db/DbStartup.h"
#include "db/Table.h"
#include "engine/EngineStartup.h"
#include "engine/Printables.h"
#include "engine/export/ExportFilter.h"
#include "engine/print/ReportPrinter.h"
#include "engine/run/ReportRunner.h"
#include "forms/Forms.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace {

double PeakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// The form that owns the list report and its table.
struct TOrdersList {
    TForm* Form = nullptr;
    TQuickRep* Report = nullptr;

    bool Build()
    {
        const QString file = QStringLiteral(VK_LARGE_ORDERS);
        if (!QFileInfo::exists(file))
            return false;
        Form = New<TForm>(nullptr);
        auto* table = New<TTable>(Form);
        table->SetDatabaseName(QFileInfo(file).absolutePath());
        table->SetTableName(QStringLiteral("ORDERS.DB"));
        table->Open();
        Report = New<TQuickRep>(Form);
        Report->SetParent(Form);
        Report->SetDataSet(table);
        TQRCustomBand* header = Report->CreateBand(rbColumnHeader);
        TQRCustomBand* detail = Report->CreateBand(rbDetail);
        detail->SetHeight(17);
        const int columns = std::min(8, table->FieldCount());
        const double width = Report->BandWidthPx() / double(columns);
        for (int i = 0; i < columns; ++i) {
            auto* caption = New<TQRLabel>(Form);
            caption->SetParent(header);
            caption->SetCaption(table->Fields()->Fields(i)->FieldName());
            caption->SetSize(QRectF(i * width, 4, width - 2, 17));
            auto* text = New<TQRDBText>(Form);
            text->SetParent(detail);
            text->SetAutoSize(false);
            text->SetDataSet(table);
            text->SetDataField(table->Fields()->Fields(i)->FieldName());
            text->SetSize(QRectF(i * width, 0, width - 2, 17));
        }
        TQRCustomBand* footer = Report->CreateBand(rbPageFooter);
        auto* page = New<TQRSysData>(Form);
        page->SetParent(footer);
        page->SetData(qrsPageNumber);
        page->SetText(QStringLiteral("Page "));
        return true;
    }
    ~TOrdersList() { Free(Form); }
};

void PrepareAndExportText(benchmark::State& state)
{
    TOrdersList list;
    if (!list.Build())
        return state.SkipWithError("large orders table missing: build the target dbdemos_large");
    QTemporaryDir dir;
    int pages = 0;
    for (auto _ : state) {
        TQRPreparedReport prepared;
        TQRReportRunner(list.Report).Run(prepared);
        pages = prepared.PageCount();
        list.Report->ExportToFilter(
            QRExportFilterLibrary.Filters()[0].CreateFilter(dir.filePath(QStringLiteral("orders.txt"))));
    }
    state.counters["pages"] = pages;
    state.counters["peak MB"] = PeakMegabytes();
}
BENCHMARK(PrepareAndExportText)->Unit(benchmark::kMillisecond)->Iterations(1);

void ExportText(benchmark::State& state)
{
    TOrdersList list;
    if (!list.Build())
        return state.SkipWithError("large orders table missing: build the target dbdemos_large");
    QTemporaryDir dir;
    for (auto _ : state)
        list.Report->ExportToFilter(
            QRExportFilterLibrary.Filters()[0].CreateFilter(dir.filePath(QStringLiteral("orders.txt"))));
    state.counters["peak MB"] = PeakMegabytes();
}
BENCHMARK(ExportText)->Unit(benchmark::kMillisecond)->Iterations(1);

void PrintToPdf(benchmark::State& state)
{
    TOrdersList list;
    if (!list.Build())
        return state.SkipWithError("large orders table missing: build the target dbdemos_large");
    QTemporaryDir dir;
    list.Report->PrinterSettings()->OutputFileName = dir.filePath(QStringLiteral("orders.pdf"));
    for (auto _ : state)
        PrintReport(list.Report);
    state.counters["PDF MB"] = QFileInfo(list.Report->PrinterSettings()->OutputFileName).size() / 1048576.0;
    state.counters["peak MB"] = PeakMegabytes();
}
BENCHMARK(PrintToPdf)->Unit(benchmark::kMillisecond)->Iterations(1);

// What the preview waits for before it shows: the first prepared page.
void FirstPreviewPage(benchmark::State& state)
{
    TOrdersList list;
    if (!list.Build())
        return state.SkipWithError("large orders table missing: build the target dbdemos_large");
    for (auto _ : state) {
        TQRPreparedReport prepared;
        TQRReportRunner runner(list.Report);
        runner.OnPageReady = [](const TQRPreparedReport&) { return false; };
        runner.Run(prepared);
    }
}
BENCHMARK(FirstPreviewPage)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    StartPlatform();
    StartDb();
    StartEngine();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
