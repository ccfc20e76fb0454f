// Rows per second for opening and scanning the large orders table through a
// TTable, reading a few fields of every record as a report's detail band does.
#include "DbStartup.h"
#include "Startup.h"
#include "Table.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <benchmark/benchmark.h>

namespace {

void ScanOrders(benchmark::State& state)
{
    const QString file = QStringLiteral(VK_LARGE_ORDERS);
    if (!QFileInfo::exists(file)) {
        state.SkipWithError("large orders table missing: build the target dbdemos_large");
        return;
    }
    qint64 rows = 0;
    for (auto _ : state) {
        TTable* t = New<TTable>(nullptr);
        t->SetDatabaseName(QFileInfo(file).absolutePath());
        t->SetTableName(QStringLiteral("ORDERS.DB"));
        t->Open();
        TField* orderNo = t->FieldByName(QStringLiteral("OrderNo"));
        TField* contact = t->FieldByName(QStringLiteral("ShipToContact"));
        TField* sale = t->FieldByName(QStringLiteral("SaleDate"));
        double sum = 0;
        for (t->First(); !t->Eof(); t->Next()) {
            sum += orderNo->AsFloat();
            benchmark::DoNotOptimize(contact->AsString());
            benchmark::DoNotOptimize(sale->AsDateTime());
            ++rows;
        }
        benchmark::DoNotOptimize(sum);
        t->Free();
    }
    state.counters["rows/s"] = benchmark::Counter(double(rows), benchmark::Counter::kIsRate);
}
BENCHMARK(ScanOrders)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    StartClasses();  // the non-visual half: the data layer needs no windows
    StartDb();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
