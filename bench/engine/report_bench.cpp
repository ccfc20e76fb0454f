// A list report of the eight first columns of an orders table: opening the
// table, the preview's first page, exporting every page as text and printing
// every page into a PDF, each from a closed table as a user starts them. Peak
// memory is the process's maximum resident size, so each case is best run in
// a process of its own (rows.py does that for several table sizes).
//
//   engine_bench [--orders=<ORDERS.DB>] [benchmark flags]
//
// Without --orders the 100,000-row table of the target dbdemos_large is read.
#include "Startup.h"
#include "db/DbStartup.h"
#include "db/Table.h"
#include "engine/EngineStartup.h"
#include "engine/Printables.h"
#include "engine/export/ExportFilter.h"
#include "engine/preview/PreviewForm.h"
#include "engine/print/ReportPrinter.h"
#include "forms/Forms.h"

#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <cstring>
#include <sys/resource.h>

namespace {

QString ordersFile = QStringLiteral(VK_LARGE_ORDERS);

double PeakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// The form that owns the list report and its table, the table closed.
struct TOrdersList {
    TForm* Form = nullptr;
    TTable* Table = nullptr;
    TQuickRep* Report = nullptr;

    bool Build()
    {
        if (!QFileInfo::exists(ordersFile))
            return false;
        Form = New<TForm>(nullptr);
        Table = New<TTable>(Form);
        Table->SetDatabaseName(QFileInfo(ordersFile).absolutePath());
        Table->SetTableName(QFileInfo(ordersFile).fileName());
        Table->Open();  // for the field names
        Report = New<TQuickRep>(Form);
        Report->SetParent(Form);
        Report->SetDataSet(Table);
        TQRCustomBand* header = Report->CreateBand(rbColumnHeader);
        TQRCustomBand* detail = Report->CreateBand(rbDetail);
        detail->SetHeight(17);
        const int columns = std::min(8, Table->FieldCount());
        const double width = Report->BandWidthPx() / double(columns);
        for (int i = 0; i < columns; ++i) {
            auto* caption = New<TQRLabel>(Form);
            caption->SetParent(header);
            caption->SetCaption(Table->Fields()->Fields(i)->FieldName());
            caption->SetSize(QRectF(i * width, 4, width - 2, 17));
            auto* text = New<TQRDBText>(Form);
            text->SetParent(detail);
            text->SetAutoSize(false);
            text->SetDataSet(Table);
            text->SetDataField(Table->Fields()->Fields(i)->FieldName());
            text->SetSize(QRectF(i * width, 0, width - 2, 17));
        }
        TQRCustomBand* footer = Report->CreateBand(rbPageFooter);
        auto* page = New<TQRSysData>(Form);
        page->SetParent(footer);
        page->SetData(qrsPageNumber);
        page->SetText(QStringLiteral("Page "));
        Table->Close();
        return true;
    }
    ~TOrdersList() { Free(Form); }
};

bool Build(TOrdersList& list, benchmark::State& state)
{
    if (list.Build())
        return true;
    state.SkipWithError("orders table missing: build the target dbdemos_large or give --orders");
    return false;
}

void Report(benchmark::State& state)
{
    state.counters["peak MB"] = PeakMegabytes();
}

void OpenTable(benchmark::State& state)
{
    TOrdersList list;
    if (!Build(list, state))
        return;
    for (auto _ : state) {
        list.Table->Open();
        state.PauseTiming();
        list.Table->Close();
        state.ResumeTiming();
    }
    Report(state);
}
BENCHMARK(OpenTable)->Unit(benchmark::kMillisecond)->Iterations(1);

// From the preview's start until its window has painted the first page.
void FirstPreviewPage(benchmark::State& state)
{
    TOrdersList list;
    if (!Build(list, state))
        return;
    for (auto _ : state) {
        auto* preview = New<TQRPreviewForm>(nullptr);
        preview->SetReport(list.Report);
        preview->Widget()->show();
        while (preview->PageCount() == 0)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        preview->Widget()->repaint();
        state.PauseTiming();
        state.counters["pages"] = preview->PageCount();
        preview->Free();
        state.ResumeTiming();
    }
    Report(state);
}
BENCHMARK(FirstPreviewPage)->Unit(benchmark::kMillisecond)->Iterations(1);

void ExportText(benchmark::State& state)
{
    TOrdersList list;
    if (!Build(list, state))
        return;
    QTemporaryDir dir;
    for (auto _ : state)
        list.Report->ExportToFilter(
            QRExportFilterLibrary.Filters()[0].CreateFilter(dir.filePath(QStringLiteral("orders.txt"))));
    Report(state);
}
BENCHMARK(ExportText)->Unit(benchmark::kMillisecond)->Iterations(1);

void PrintToPdf(benchmark::State& state)
{
    TOrdersList list;
    if (!Build(list, state))
        return;
    QTemporaryDir dir;
    list.Report->PrinterSettings()->OutputFileName = dir.filePath(QStringLiteral("orders.pdf"));
    for (auto _ : state)
        PrintReport(list.Report);
    state.counters["PDF MB"] = QFileInfo(list.Report->PrinterSettings()->OutputFileName).size() / 1048576.0;
    Report(state);
}
BENCHMARK(PrintToPdf)->Unit(benchmark::kMillisecond)->Iterations(1);

// Takes --orders=<file> out of the arguments the benchmark library reads.
void TakeOrdersArgument(int& argc, char** argv)
{
    constexpr const char* option = "--orders=";
    int kept = 0;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], option, std::strlen(option)) == 0)
            ordersFile = QString::fromLocal8Bit(argv[i] + std::strlen(option));
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TakeOrdersArgument(argc, argv);
    QApplication app(argc, argv);
    StartPlatform();
    StartDb();
    StartEngine();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
