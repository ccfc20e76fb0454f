// fuzz_seeds OUT FORM.dfm...   writes the seed corpora of the fuzz targets
// into OUT/<target>/, every file by the system's own code: the form
// resources of the tree as text and binary, the layouts the designer saves
// of the demos' sample reports and of a list report the builder makes, the
// sample tables cut down to a few records and tables of every column type
// written by the table writers, pictures in every graphic class, and the
// expressions of the sample reports.
#include "targets/FuzzTargets.h"
#include "classes/Owned.h"
#include "classes/Streaming.h"
#include "db/DbfFile.h"
#include "db/ParadoxFile.h"
#include "db/Table.h"
#include "designer/DesignerStartup.h"
#include "designer/VornakMain.h"
#include "designer/builders/ListBuilder.h"
#include "graphics/Picture.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>

#include <cstdio>

namespace {

QDir out;

void Seed(const QString& target, const QString& name, const QByteArray& data)
{
    out.mkpath(target);
    WriteStreamFile(out.filePath(target + u'/' + name), data);
}

void Warn(const QString& what, const std::exception& e)
{
    std::fprintf(stderr, "fuzz_seeds: %s: %s\n", qPrintable(what), e.what());
}

TVornak* Designer()
{
    static TVornak* designer = [] {
        TForm* host = New<TForm>(Application);
        auto* control = New<TVornak>(host);
        control->SetParent(host);
        return control;
    }();
    return designer;
}

// The layout the designer saves of the report it edits, and its text.
void SeedLayout(const QString& name)
{
    const QString path = out.filePath(QStringLiteral("layout/") + name + QStringLiteral(".QR"));
    out.mkpath(QStringLiteral("layout"));
    Designer()->SaveReportFile(path);
    const QByteArray layout = ReadStreamFile(path);
    Seed(QStringLiteral("formconv"), name + QStringLiteral(".QR"), layout);
    Seed(QStringLiteral("textform"), name + QStringLiteral(".txt"), ObjectResourceToText(layout).toUtf8());
    for (int i = 0; i < ReportForm->ComponentCount(); ++i)
        if (auto* expr = dynamic_cast<TQRExpr*>(ReportForm->Components(i)))
            Seed(QStringLiteral("expression"), name + u'-' + expr->Name() + QStringLiteral(".txt"),
                 expr->Expression().toUtf8());
    Designer()->CloseReport();
}

// A form resource of the tree; a demo's sample report is also opened in
// the designer as the demo hands it over, and saved.
void SeedForm(const QString& fileName)
{
    const QByteArray text = ReadStreamFile(fileName);
    const QString name = QFileInfo(fileName).dir().dirName() + u'-' + QFileInfo(fileName).completeBaseName();
    Seed(QStringLiteral("textform"), name + QStringLiteral(".dfm"), text);
    Seed(QStringLiteral("formconv"), name + QStringLiteral(".res"), ObjectTextToResource(QString::fromUtf8(text)));
    Seed(QStringLiteral("formconv"), name + QStringLiteral(".bin"), ObjectTextToBinary(QString::fromUtf8(text)));
    if (!text.contains(": TQuickRep"))
        return;
    TForm* form = New<TForm>(Application);
    try {
        ReadComponentText(QString::fromUtf8(text), form);
        Designer()->OpenQrform(form);
        SeedLayout(name);
    } catch (const std::exception& e) {
        Warn(fileName, e);
    }
    Designer()->NewReport();  // lets go of the form before it goes
    Designer()->CloseReport();
    form->Free();
}

// A list report of a sample table, made by the builder in the designer.
void SeedListLayout(const QString& tableName)
{
    Designer()->NewReport();
    Designer()->CloseReport();
    auto* table = New<TTable>(ReportForm);
    table->SetName(QStringLiteral("Table1"));
    table->SetDatabaseName(QStringLiteral("DBDEMOS"));
    table->SetTableName(tableName);
    table->Open();
    TQuickRep* report = nullptr;
    QRCreateList(report, ReportForm, table, tableName, nullptr);
    Designer()->OpenQRReport(report);
    SeedLayout(QStringLiteral("list-") + QFileInfo(tableName).completeBaseName());
}

TTableData FirstRows(TTableData table, size_t rows)
{
    table.Rows.resize(std::min(rows, table.Rows.size()));
    return table;
}

// A table written by a writer, as one table input.
QByteArray TableInput(const TTableData& table, const QString& tableName, const QString& memoName,
                      void (*write)(const QString&, const TTableData&))
{
    const QString path = FuzzScratchPath(tableName);
    QFile::remove(FuzzScratchPath(memoName));
    write(path, table);
    const QString memoPath = FuzzScratchPath(memoName);
    return PackTableInput(ReadStreamFile(path), QFile::exists(memoPath) ? ReadStreamFile(memoPath) : QByteArray());
}

QByteArray SmallPictureBmp()
{
    QImage image(24, 18, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setBrush(Qt::darkGreen);
    painter.drawEllipse(2, 2, 20, 14);
    painter.end();
    TOwned<TBitmap> bitmap(new TBitmap());
    bitmap->SetImage(image);
    return bitmap->SaveToBytes();
}

// Every column type each writer takes, with a null in each column.
TTableData AllTypes(bool paradox)
{
    TTableData t;
    t.Defs = {{QStringLiteral("NAME"), ftString, 12, 0},   {QStringLiteral("QTY"), ftInteger, 6, 0},
              {QStringLiteral("PRICE"), ftFloat, 10, 2},   {QStringLiteral("PAID"), ftBoolean, 0, 0},
              {QStringLiteral("SOLD"), ftDate, 0, 0},      {QStringLiteral("NOTES"), ftMemo, 0, 0},
              {QStringLiteral("PICTURE"), ftGraphic, 0, 0}};
    TRecord first = {QStringLiteral("Ann"), qint64(3), 2.5, true, QDate(1994, 3, 2),
                     QStringLiteral("Two lines\r\nof notes"), SmallPictureBmp()};
    if (paradox) {
        t.Defs.push_back({QStringLiteral("SHORT"), ftSmallint, 0, 0});
        t.Defs.push_back({QStringLiteral("AMOUNT"), ftCurrency, 0, 0});
        t.Defs.push_back({QStringLiteral("AT"), ftTime, 0, 0});
        t.Defs.push_back({QStringLiteral("STAMP"), ftDateTime, 0, 0});
        t.Defs.push_back({QStringLiteral("NO"), ftAutoInc, 0, 0});
        t.Defs.push_back({QStringLiteral("RAW"), ftBlob, 0, 0});
        first.insert(first.end(), {qint64(-7), 12.34, QTime(9, 5), QDateTime(QDate(1994, 3, 2), QTime(9, 5)),
                                   qint64(1), QByteArray("\x00\x01\x02", 3)});
    }
    t.Rows = {first, TRecord(t.Defs.size())};
    return t;
}

void SeedTables()
{
    const QString dbdemos = QStringLiteral(VK_DBDEMOS_DIR);
    const QString dbf = QStringLiteral("FUZZ.DBF"), dbt = QStringLiteral("FUZZ.DBT");
    const QString db = QStringLiteral("FUZZ.DB"), mb = QStringLiteral("FUZZ.MB");
    Seed(QStringLiteral("dbf"), QStringLiteral("animals.tbl"),
         TableInput(FirstRows(ReadDbfTable(dbdemos + QStringLiteral("/ANIMALS.DBF")), 1), dbf, dbt, WriteDbfTable));
    Seed(QStringLiteral("dbf"), QStringLiteral("all-types.tbl"), TableInput(AllTypes(false), dbf, dbt, WriteDbfTable));
    for (const char* name : {"ORDERS", "CUSTOMER"})
        Seed(QStringLiteral("paradox"), QString::fromLatin1(name).toLower() + QStringLiteral(".tbl"),
             TableInput(FirstRows(ReadParadoxTable(dbdemos + u'/' + QString::fromLatin1(name) + QStringLiteral(".DB")), 3),
                        db, mb, WriteParadoxTable));
    Seed(QStringLiteral("paradox"), QStringLiteral("all-types.tbl"),
         TableInput(AllTypes(true), db, mb, WriteParadoxTable));
}

// The small picture in every graphic class Qt can write, as Picture.Data
// and as a file.
void SeedPictures()
{
    TOwned<TBitmap> source(new TBitmap());
    source->LoadFromBytes(SmallPictureBmp());
    for (const char* name : {"TBitmap", "TPngImage", "TJPEGImage", "TIcon"}) {  // Qt writes no GIF
        TOwned<TPicture> picture(new TPicture());
        TOwned<TRasterGraphic> graphic(
            static_cast<TRasterGraphic*>(GraphicClassNamed(QString::fromLatin1(name))->NewInstance()));
        graphic->SetImage(source->Image());
        picture->SetGraphic(graphic.get());
        TDefinedProperties props;
        picture->DefineProperties(props);
        Seed(QStringLiteral("picture"), QString::fromLatin1(name) + QStringLiteral(".data"), props.at(0).Write().Bin);
        Seed(QStringLiteral("picture"), QString::fromLatin1(name) + QStringLiteral(".file"), graphic->SaveToBytes());
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty()) {
        std::fputs("usage: fuzz_seeds OUT [FORM.dfm...]\n", stderr);
        return 2;
    }
    StartVornakUnits();
    try {
        out.setPath(args[0]);
        out.mkpath(QStringLiteral("."));
        for (const QString& form : args.mid(1))
            SeedForm(form);
        SeedListLayout(QStringLiteral("ORDERS.DB"));
        SeedListLayout(QStringLiteral("ANIMALS.DBF"));
        SeedTables();
        SeedPictures();
    } catch (const std::exception& e) {
        Warn(QStringLiteral("failed"), e);
        return 1;
    }
    return 0;
}
