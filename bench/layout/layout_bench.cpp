// Large layouts in the designer control: opening a layout file, saving it and
// freeing it (closing the report and freeing the form that owns it), for
// 2,000 and 4,000 elements spread over four bands, named as the designer
// names the elements it places.
#include "designer/DesignerStartup.h"
#include "designer/Vornak.h"
#include "engine/Bands.h"
#include "engine/Printables.h"
#include "engine/QRUtils.h"
#include "engine/QuickRep.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// A shown host window with the designer control, as the demo programs have it.
struct THostWindow {
    TForm* Form = nullptr;
    TVornak* Vornak = nullptr;

    THostWindow()
    {
        Form = New<TForm>(Application);
        Form->SetBounds(0, 0, 800, 600);
        Vornak = New<TVornak>(Form);
        Vornak->SetParent(Form);
        Vornak->SetAlign(alClient);
        Form->Show();
        QApplication::processEvents();
    }
    ~THostWindow() { Free(Form); }
    THostWindow(const THostWindow&) = delete;
    THostWindow& operator=(const THostWindow&) = delete;
};

// Builds a report of the given number of elements in the control and saves
// it into the file.
void WriteLayout(TVornak* vornak, int elements, const QString& file)
{
    vornak->NewReport();
    TQuickRep* report = vornak->Report();
    report->Bands()->SetHasTitle(true);
    report->Bands()->SetHasColumnHeader(true);
    report->Bands()->SetHasDetail(true);
    report->Bands()->SetHasPageFooter(true);
    const TQRBandType types[] = {rbTitle, rbColumnHeader, rbDetail, rbPageFooter};
    const TClass classes[] = {TQRMemo::ClassInfo(), TQRExpr::ClassInfo(), TQRShape::ClassInfo(),
                              TQRSysData::ClassInfo()};
    TComponent* owner = report->Owner();
    for (int i = 0; i < elements; ++i) {
        TQRCustomBand* band = report->FirstBandOfType(types[i % 4]);
        auto* element = TQRPrintable::CreateOf(classes[(i / 4) % 4], owner);
        element->SetName(UniqueName(owner, element->ClassName().mid(1)));
        element->SetParent(band);
        element->SetSize(QRectF((i / 4) % 40 * 18, (i / 160) % 10 * 12, 16, 10));
    }
    vornak->SaveReportFile(file);
}

// Opens the layout as the user does: the designer reads the file, then the
// window shows the report (the events that opening posted run).
void Open(TVornak* vornak, const QString& file)
{
    vornak->OpenReportFile(file);
    QApplication::processEvents();
}

struct TLayoutFile {
    QTemporaryDir Dir;
    QString File;
    explicit TLayoutFile(TVornak* vornak, int elements) : File(Dir.filePath(QStringLiteral("layout.QR")))
    {
        WriteLayout(vornak, elements, File);
        vornak->CloseReport();
    }
};

void OpenLayout(benchmark::State& state)
{
    THostWindow host;
    TLayoutFile layout(host.Vornak, int(state.range(0)));
    for (auto _ : state) {
        Open(host.Vornak, layout.File);
        state.PauseTiming();
        if (!host.Vornak->Report())
            return state.SkipWithError("the layout did not open");
        host.Vornak->CloseReport();
        state.ResumeTiming();
    }
}
BENCHMARK(OpenLayout)->Arg(2000)->Arg(4000)->Unit(benchmark::kMillisecond);

void SaveLayout(benchmark::State& state)
{
    THostWindow host;
    TLayoutFile layout(host.Vornak, int(state.range(0)));
    Open(host.Vornak, layout.File);
    for (auto _ : state)
        host.Vornak->SaveReportFile(layout.File);
}
BENCHMARK(SaveLayout)->Arg(2000)->Arg(4000)->Unit(benchmark::kMillisecond);

// Closing the report and freeing the form that owned it.
void FreeLayout(benchmark::State& state)
{
    THostWindow host;
    TLayoutFile layout(host.Vornak, int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        Open(host.Vornak, layout.File);
        state.ResumeTiming();
        host.Vornak->CloseReport();
        Free(ReportForm);
    }
}
BENCHMARK(FreeLayout)->Arg(2000)->Arg(4000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    StartVornakUnits();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
