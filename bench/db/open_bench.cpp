// Opening orders tables of 10,000, 100,000 and 1,000,000 rows (to the first
// record's fields, what the first page needs) and scanning them to the end.
// Each measurement runs in a fresh process so that its peak resident memory
// (ru_maxrss) is its own: the child times itself and reports both figures.
// A program of its own, not part of db_bench: Linux carries the parent's peak
// into a child's ru_maxrss, so the parent must stay small (NoTable shows it).
#include "DbStartup.h"
#include "Startup.h"
#include "Table.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <sys/resource.h>

namespace {

constexpr const char* kChildFlag = "--table-child";

QString TableOf(qint64 rows) { return QStringLiteral(VK_BENCH_TABLES "/ORDERS%1.DB").arg(rows); }

qint64 PeakKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Opens the table and reads the first record; "scan" goes on to the last.
void OpenAndRead(const QString& file, bool scan)
{
    TTable* t = New<TTable>(nullptr);
    t->SetDatabaseName(QFileInfo(file).absolutePath());
    t->SetTableName(QFileInfo(file).fileName());
    t->Open();
    TField* orderNo = t->FieldByName(QStringLiteral("OrderNo"));
    TField* contact = t->FieldByName(QStringLiteral("ShipToContact"));
    double sum = 0;
    do {
        sum += orderNo->AsFloat();
        benchmark::DoNotOptimize(contact->AsString());
        t->Next();
    } while (scan && !t->Eof());
    benchmark::DoNotOptimize(sum);
    t->Free();
}

void Measure(benchmark::State& state, const char* mode)
{
    const QString file = TableOf(state.range(0));
    if (!QFileInfo::exists(file)) {
        state.SkipWithError("table missing: build the target bench_tables");
        return;
    }
    qint64 peak = 0;
    for (auto _ : state) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QLatin1String(kChildFlag), QLatin1String(mode), file});
        child.waitForFinished(-1);
        const QList<QByteArray> figures = child.readAllStandardOutput().trimmed().split(' ');
        if (child.exitCode() != 0 || figures.size() != 2) {
            state.SkipWithError(child.readAllStandardError().constData());
            return;
        }
        state.SetIterationTime(figures[0].toDouble() / 1e9);
        peak = qMax(peak, figures[1].toLongLong());
    }
    state.counters["peak_MB"] = double(peak) / 1024.0;
    state.counters["rows"] = double(state.range(0));
}

BENCHMARK_CAPTURE(Measure, OpenTable, "open")->Arg(10000)->Arg(100000)->Arg(1000000)
    ->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Measure, ScanTable, "scan")->Arg(10000)->Arg(100000)->Arg(1000000)
    ->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
// the peak of a child that opens nothing: what the process costs by itself
BENCHMARK_CAPTURE(Measure, NoTable, "none")->Arg(10000)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

int RunChild(char** argv)
{
    const QString mode = QString::fromLocal8Bit(argv[2]);
    const auto start = std::chrono::steady_clock::now();
    try {
        if (mode != u"none")
            OpenAndRead(QString::fromLocal8Bit(argv[3]), mode == u"scan");
    } catch (const Exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - start).count();
    std::printf("%lld %lld\n", static_cast<long long>(ns), static_cast<long long>(PeakKb()));
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    StartClasses();
    StartDb();
    if (argc == 4 && std::strcmp(argv[1], kChildFlag) == 0)
        return RunChild(argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
