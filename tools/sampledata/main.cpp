// Writes the sample tables of the alias DBDEMOS:
//   sampledata <folder>                 ORDERS.DB, CUSTOMER.DB, ANIMALS.DBF/.DBT
//   sampledata --large <rows> <file>    an orders table of that many rows
#include "Animals.h"
#include "Orders.h"
#include "ParadoxFile.h"
#include "DbfFile.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: sampledata <folder>\n       sampledata --large <rows> <file>\n");
    return 2;
}

void WriteSamples(const QString& folder)
{
    if (!QDir().mkpath(folder))
        throw EDatabaseError(QStringLiteral("Cannot create folder %1").arg(folder));
    const QDir dir(folder);
    WriteParadoxTable(dir.filePath(QStringLiteral("ORDERS.DB")), MakeOrders(360));
    WriteParadoxTable(dir.filePath(QStringLiteral("CUSTOMER.DB")), MakeCustomers());
    WriteDbfTable(dir.filePath(QStringLiteral("ANIMALS.DBF")), MakeAnimals());
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);  // QPainter on images needs the font system
    const QStringList args = QCoreApplication::arguments().mid(1);
    try {
        if (args.size() == 3 && args[0] == u"--large") {
            bool ok = false;
            const int rows = args[1].toInt(&ok);
            if (!ok || rows <= 0)
                return Usage();
            QDir().mkpath(QFileInfo(args[2]).absolutePath());
            WriteParadoxTable(args[2], MakeOrders(rows));
        } else if (args.size() == 1) {
            WriteSamples(args[0]);
        } else {
            return Usage();
        }
    } catch (const Exception& e) {
        std::fprintf(stderr, "sampledata: %s\n", e.what());
        return 1;
    }
    return 0;
}
