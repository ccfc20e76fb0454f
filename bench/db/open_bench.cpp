// Opening orders tables of 10,000, 100,000 and 1,000,000 rows (to the first
// record's fields, what the first page needs) and scanning them to the end.
// Each measurement runs in a fresh process so that its peak resident memory
// is its own: the child times itself and reports its figures. Linux carries
// the parent's peak into a child's ru_maxrss, so this is a program of its own
// whose parent stays small (NoTable shows that floor), and the child also
// reports VmHWM, the peak of its own address space alone.
#include "DbStartup.h"
#include "Startup.h"
#include "Table.h"

#include <QCoreApplication>
#include <QFile>
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

qint64 MaxRssKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

qint64 HighWaterKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return 0;
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
    qint64 peak = 0, own = 0;
    for (auto _ : state) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QLatin1String(kChildFlag), QLatin1String(mode), file});
        child.waitForFinished(-1);
        const QList<QByteArray> figures = child.readAllStandardOutput().trimmed().split(' ');
        if (child.exitCode() != 0 || figures.size() != 3) {
            state.SkipWithError(child.readAllStandardError().constData());
            return;
        }
        state.SetIterationTime(figures[0].toDouble() / 1e9);
        peak = qMax(peak, figures[1].toLongLong());
        own = qMax(own, figures[2].toLongLong());
    }
    state.counters["maxrss_MB"] = double(peak) / 1024.0;
    state.counters["hwm_MB"] = double(own) / 1024.0;
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
    std::printf("%lld %lld %lld\n", static_cast<long long>(ns), static_cast<long long>(MaxRssKb()),
                static_cast<long long>(HighWaterKb()));
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
