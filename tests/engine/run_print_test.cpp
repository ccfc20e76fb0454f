// Printing and previewing: a PDF of two reports turned into PNG pages for
// review, the message without a printer, and the preview window answered
// through the modal seam.
#include "run_fixture.h"

#include "dialogs/Dialogs.h"
#include "engine/export/ExportFilter.h"
#include "engine/preview/PreviewForm.h"
#include "engine/print/ReportPrinter.h"

#include <QDir>
#include <QFile>
#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

namespace {

QString ScreenshotDir()
{
    const QString dir = qEnvironmentVariable("VK_BUILD_DIR", QDir::tempPath()) + QStringLiteral("/screenshots");
    QDir().mkpath(dir);
    return dir;
}

// Prints the report into <name>.pdf and turns it into <name>-N.png; returns the PNG count.
int PrintToPngs(TQuickRep* report, const QString& name)
{
    const QString base = ScreenshotDir() + QLatin1Char('/') + name;
    for (const QString& old : QDir(ScreenshotDir()).entryList({name + QStringLiteral("-*.png")}))
        QFile::remove(ScreenshotDir() + QLatin1Char('/') + old);
    report->PrinterSettings()->OutputFileName = base + QStringLiteral(".pdf");
    report->Print();
    QFile pdf(base + QStringLiteral(".pdf"));
    EXPECT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");
    EXPECT_EQ(QProcess::execute(QStringLiteral("pdftoppm"), {"-png", "-r", "60", base + ".pdf", base}), 0);
    return int(QDir(ScreenshotDir()).entryList({name + QStringLiteral("-*.png")}).size());
}

// The bounds of the page's pixels near the colour (within 40 in each channel); empty when none.
QRect ColourBounds(const QImage& page, const QColor& colour)
{
    const auto near = [](int a, int b) { return std::abs(a - b) < 40; };
    QRect bounds;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            if (near(c.red(), colour.red()) && near(c.green(), colour.green()) && near(c.blue(), colour.blue()))
                bounds |= QRect(x, y, 1, 1);
        }
    return bounds;
}

int PdfPageCount(const QString& file)
{
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {file});
    info.waitForFinished();
    for (const QString& line : QString::fromLatin1(info.readAllStandardOutput()).split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("Pages:")))
            return line.mid(6).trimmed().toInt();
    return -1;
}

// The orders list: a centred title, column captions, one line per order, page numbers.
class OrdersList : public RunTest {
protected:
    void Build(int rows)
    {
        report->SetDataSet(Table(rows));
        report->SetReportTitle(QStringLiteral("Orders"));
        TQRCustomBand* title = AddBand(rbTitle, 40);
        auto* caption = AddText(title, QStringLiteral("List of orders"), 0, 8, MMToPixels(190));
        caption->SetAlignment(taCenter);
        caption->Font()->SetSize(16);
        TQRCustomBand* header = AddBand(rbColumnHeader, 22);
        header->Frame()->SetDrawBottom(true);
        AddText(header, QStringLiteral("Name"), 8);
        AddText(header, QStringLiteral("Quantity"), 200)->SetAlignment(taRightJustify);
        AddText(header, QStringLiteral("Price"), 360)->SetAlignment(taRightJustify);
        TQRCustomBand* detail = AddBand(rbDetail, 18);
        AddText<TQRExpr>(detail, QStringLiteral("NAME"), 8);
        AddText<TQRExpr>(detail, QStringLiteral("QTY"), 200)->SetAlignment(taRightJustify);
        AddText<TQRExpr>(detail, QStringLiteral("FORMATNUMERIC('#,##0.00', PRICE)"), 360)->SetAlignment(taRightJustify);
        TQRCustomBand* footer = AddBand(rbPageFooter, 24);
        AddText<TQRSysData>(footer, QStringLiteral("Page "), 0, 4, MMToPixels(190))->SetData(qrsPageNumber);
        static_cast<TQRSysData*>(footer->Printables().back())->SetAlignment(taCenter);
    }
};

TEST_F(OrdersList, PrintsIntoAPdfOfAllItsPages)
{
    Build(120);
    const int pages = Run().PageCount();
    ASSERT_GT(pages, 1);
    EXPECT_EQ(PrintToPngs(report, QStringLiteral("engine-orders-list")), pages);

    // The page range of the printer settings limits what prints.
    report->PrinterSettings()->FirstPage = 2;
    report->PrinterSettings()->LastPage = 2;
    EXPECT_EQ(PrintToPngs(report, QStringLiteral("engine-orders-page2")), 1);

    // A PDF file makes no copies by itself: each copy is printed into it.
    report->PrinterSettings()->Copies = 3;
    report->Print();
    EXPECT_EQ(PdfPageCount(report->PrinterSettings()->OutputFileName), 3);
}

// A detail band that forces a new page prints one record per page, each with
// the band's picture.
TEST_F(RunTest, OneAnimalPerPageWithItsPicture)
{
    report->SetDataSet(Table(3));
    TQRCustomBand* detail = AddBand(rbDetail, 300);
    detail->SetForceNewPage(true);
    auto* banner = New<TQRImage>(form);
    banner->SetParent(detail);
    banner->SetSize(QRectF(8, 0, 511, 108));
    QImage image(511, 108, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QPainter(&image).fillRect(20, 20, 100, 60, Qt::yellow);
    QByteArray bmp;
    QBuffer buffer(&bmp);
    image.save(&buffer, "BMP");
    banner->Picture()->Bitmap()->LoadFromBytes(bmp);
    auto* shape = New<TQRShape>(form);
    shape->SetParent(detail);
    shape->SetShape(qrsCircle);
    shape->SetSize(QRectF(32, 120, 150, 150));
    AddText<TQRExpr>(detail, QStringLiteral("NAME"), 280, 136);
    AddText<TQRExpr>(detail, QStringLiteral("GRP"), 280, 160);
    ASSERT_EQ(PrintToPngs(report, QStringLiteral("engine-one-per-page")), 3);

    // each page shows the whole picture, at the same place: the cyan field at
    // its size with the yellow block where the bitmap has it
    const double scale = 60.0 / 96;  // pages rendered at 60 dpi of a layout at 96
    const QStringList pages = QDir(ScreenshotDir()).entryList({QStringLiteral("engine-one-per-page-*.png")});
    QRect firstPicture;
    for (const QString& file : pages) {
        const QImage page(ScreenshotDir() + QLatin1Char('/') + file);
        const QRect picture = ColourBounds(page, Qt::darkCyan);
        const QRect block = ColourBounds(page, Qt::yellow);
        ASSERT_FALSE(picture.isEmpty()) << file.toStdString();
        ASSERT_FALSE(block.isEmpty()) << file.toStdString();
        EXPECT_NEAR(picture.width(), 511 * scale, 3) << file.toStdString();
        EXPECT_NEAR(picture.height(), 108 * scale, 3) << file.toStdString();
        EXPECT_NEAR(block.left() - picture.left(), 20 * scale, 2) << file.toStdString();
        EXPECT_NEAR(block.top() - picture.top(), 20 * scale, 2) << file.toStdString();
        EXPECT_NEAR(block.width(), 100 * scale, 2) << file.toStdString();
        EXPECT_NEAR(block.height(), 60 * scale, 2) << file.toStdString();
        if (firstPicture.isNull())
            firstPicture = picture;
        EXPECT_EQ(picture, firstPicture) << file.toStdString();
    }
}

// What the printer set-up dialog shows comes from the report, and what the
// user chose there goes back into it: a named paper size stays named.
TEST_F(RunTest, PrinterChoicesGoBackIntoTheReport)
{
    report->Page()->SetPaperSize(pzLetter);
    report->Page()->SetOrientation(poLandscape);
    report->PrinterSettings()->Copies = 2;
    report->PrinterSettings()->OutputFileName = QDir::tempPath() + QStringLiteral("/choices.pdf");
    QPrinter printer(QPrinter::HighResolution);
    ConfigurePrinter(report, printer);
    auto* chosen = New<TQuickRep>(form);
    TakePrinterChoices(printer, chosen);
    EXPECT_EQ(chosen->Page()->PaperSize(), pzLetter);
    EXPECT_EQ(chosen->Page()->Orientation(), poLandscape);
    EXPECT_NEAR(chosen->Page()->Width(), 279.4, 0.1);
    EXPECT_EQ(chosen->PrinterSettings()->Copies, 2);
    EXPECT_EQ(chosen->PrinterSettings()->OutputFileName, report->PrinterSettings()->OutputFileName);

    // A sheet of no named size is a custom size of its measures.
    printer.setPageSize(QPageSize(QSizeF(100, 150), QPageSize::Millimeter));
    printer.setPageOrientation(QPageLayout::Portrait);
    TakePrinterChoices(printer, chosen);
    EXPECT_EQ(chosen->Page()->PaperSize(), pzCustom);
    EXPECT_NEAR(chosen->Page()->Width(), 100, 0.5);
    EXPECT_NEAR(chosen->Page()->Length(), 150, 0.5);
}

TEST_F(RunTest, PrintingWithoutAPrinterOnlySaysSo)
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "this machine has a printer";
    AddText(AddBand(rbTitle), QStringLiteral("x"));
    Modal::ClearMessages();
    report->Print();
    EXPECT_EQ(Modal::Messages(), QStringList{QString::fromUtf8(SNoPrinter)});
}

TEST_F(OrdersList, PreviewShowsPagesAndSavesThroughAFilter)
{
    Build(120);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("orders.txt"));
    int seen = 0;
    QString offered;
    TModalScope scope([&](TModalRequest& request) {
        if (auto* save = dynamic_cast<TSaveDialog*>(request.Subject)) {
            offered = save->Filter;
            save->FileName = file;
            save->FilterIndex = 1;
            return int(mrOk);
        }
        auto* preview = dynamic_cast<TQRPreviewForm*>(request.Subject);
        if (!preview)
            return int(mrCancel);
        ++seen;
        EXPECT_TRUE(preview->PreparePages());
        EXPECT_GT(preview->PageCount(), 1);
        EXPECT_EQ(preview->CurrentPage(), 1);
        preview->LastPage();
        EXPECT_EQ(preview->PageText(), QStringLiteral("Page %1 of %1").arg(preview->PageCount()));
        preview->NextPage();  // stays on the last page
        EXPECT_EQ(preview->CurrentPage(), preview->PageCount());
        preview->FirstPage();
        preview->PriorPage();
        EXPECT_EQ(preview->CurrentPage(), 1);
        preview->SetZoom(100);
        preview->ZoomIn();
        EXPECT_DOUBLE_EQ(preview->Zoom(), 125);
        preview->SetZoom(1000);
        EXPECT_DOUBLE_EQ(preview->Zoom(), 400);
        preview->SaveToFile();  // the Save button: a file and a filter from the save dialog
        return int(mrOk);
    });
    report->Preview();
    EXPECT_EQ(seen, 1);
    EXPECT_TRUE(offered.startsWith(QLatin1String("Text file (*.TXT)|*.TXT"))) << offered.toStdString();
    QFile text(file);
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    const QByteArray content = text.readAll();
    EXPECT_TRUE(content.contains("Item120"));
    EXPECT_EQ(content.count('\f') + 1, Run().PageCount());
}

// A second filter in the list: writes how many pages it was given.
class TPageCountFilter : public TQRExportFilter {
public:
    using TQRExportFilter::TQRExportFilter;
    QString GetExtension() const override { return QStringLiteral("PGS"); }
    QString GetFilterName() const override { return QStringLiteral("Page count"); }
    void NewPage() override { ++pages_; }
    void Finish() override
    {
        QFile file(FileName());
        if (file.open(QIODevice::WriteOnly))
            file.write(QByteArray::number(pages_));
        TQRExportFilter::Finish();
    }

private:
    int pages_ = 0;
};

TEST_F(OrdersList, PreviewSaveGivesABareNameTheChosenFiltersExtension)
{
    Build(120);
    QRExportFilterLibrary.AddFilter<TPageCountFilter>();
    QTemporaryDir dir;
    int chosenFilter = 0;
    TModalScope scope([&](TModalRequest& request) {
        if (auto* save = dynamic_cast<TSaveDialog*>(request.Subject)) {
            save->FileName = dir.filePath(QStringLiteral("orders"));
            save->FilterIndex = chosenFilter;
            return int(mrOk);
        }
        auto* preview = dynamic_cast<TQRPreviewForm*>(request.Subject);
        if (!preview)
            return int(mrCancel);
        EXPECT_TRUE(preview->PreparePages());
        for (chosenFilter = 1; chosenFilter <= QRExportFilterLibrary.Count(); ++chosenFilter)
            preview->SaveToFile();
        return int(mrOk);
    });
    report->Preview();
    QRExportFilterLibrary.RemoveFilter<TPageCountFilter>();
    QFile counted(dir.filePath(QStringLiteral("orders.PGS")));
    ASSERT_TRUE(counted.open(QIODevice::ReadOnly));
    EXPECT_EQ(counted.readAll(), QByteArray::number(Run().PageCount()));
    QFile text(dir.filePath(QStringLiteral("orders.TXT")));
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    EXPECT_TRUE(text.readAll().contains("Item120"));
}

// A bare name whose file exists once the extension is added is replaced only
// when the user says so.
TEST_F(OrdersList, PreviewSaveAsksBeforeReplacingTheFileABareNameBecomes)
{
    Build(5);
    QTemporaryDir dir;
    const QString existing = dir.filePath(QStringLiteral("orders.TXT"));
    QFile old(existing);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("keep me");
    old.close();
    int replace = mrNo;
    QStringList asked;
    TModalScope scope([&](TModalRequest& request) {
        if (request.Kind == TModalKind::MessageBox) {
            asked << request.Text;
            return replace;
        }
        if (auto* save = dynamic_cast<TSaveDialog*>(request.Subject)) {
            save->FileName = dir.filePath(QStringLiteral("orders"));
            save->FilterIndex = 1;
            return int(mrOk);
        }
        auto* preview = dynamic_cast<TQRPreviewForm*>(request.Subject);
        if (!preview)
            return int(mrCancel);
        EXPECT_TRUE(preview->PreparePages());
        preview->SaveToFile();  // answered no
        QFile untouched(existing);
        EXPECT_TRUE(untouched.open(QIODevice::ReadOnly) && untouched.readAll() == "keep me");
        replace = mrYes;
        preview->SaveToFile();
        return int(mrOk);
    });
    QFile kept(existing);
    report->Preview();
    ASSERT_EQ(asked.size(), 2);
    EXPECT_TRUE(asked[0].startsWith(existing));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_TRUE(kept.readAll().contains("Item5"));
}

// The preview's buttons while it prepares and after: printing and a new
// printer set-up always act on the whole report.
TEST_F(OrdersList, PreviewPrintsEveryPageWhenAskedWhilePreparing)
{
    Build(300);
    const int pages = Run().PageCount();
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("preview.pdf"));
    report->PrinterSettings()->OutputFileName = pdf;
    TModalScope scope([&](TModalRequest& request) {
        auto* preview = dynamic_cast<TQRPreviewForm*>(request.Subject);
        if (!preview)
            return int(mrCancel);  // the printer set-up
        preview->Widget()->show();
        // Clicked while the first pages show.
        EXPECT_TRUE(RunEventsUntil([&] { return preview->PageCount() > 0; }));
        EXPECT_TRUE(preview->Preparing());
        ClickButton(PreviewButton(preview, QStringLiteral("Printer setup")));
        ClickButton(PreviewButton(preview, QStringLiteral("Print")));
        // Preparing starts again for the new set-up; the print waits for all pages.
        EXPECT_TRUE(RunEventsUntil([&] { return !preview->Preparing() && preview->PageCount() > 0; }));
        EXPECT_EQ(preview->PageCount(), pages);
        EXPECT_EQ(PdfPageCount(pdf), pages);
        // Once the pages are there, the print button prints at once.
        QFile::remove(pdf);
        ClickButton(PreviewButton(preview, QStringLiteral("Print")));
        EXPECT_EQ(PdfPageCount(pdf), pages);
        preview->Widget()->hide();
        return int(mrOk);
    });
    report->Preview();
}

TEST_F(OrdersList, PreviewStopsPreparingWhenClosed)
{
    Build(300);
    TModalScope scope([&](TModalRequest& request) {
        auto* preview = static_cast<TQRPreviewForm*>(request.Subject);
        preview->SetModalResult(mrCancel);  // closed before the pages are ready
        EXPECT_FALSE(preview->PreparePages());
        EXPECT_EQ(preview->PageCount(), 1);
        return int(mrCancel);
    });
    report->Preview();
}

}  // namespace
