// Prepared pages past the ones kept in memory live in a temporary page file:
// they come back as they were printed, the file goes with the pages, also
// after an error, and a file that cannot take a page is a clear error that
// keeps the pages before it. The preview shows the first page of a long
// table while the rest are still coming.
#include "run_fixture.h"
#include "engine/run/PageFile.h"

#include "engine/preview/PreviewForm.h"
#include "forms/Modal.h"
#include "rtl/Exceptions.h"

#include <QDir>
#include <QImage>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>

namespace {

class PageFileTest : public RunTest {
protected:
    void SetUp() override
    {
        RunTest::SetUp();
        oldTemp_ = qgetenv("TMPDIR");
        qputenv("TMPDIR", temp.path().toLocal8Bit());
        oldMemoryPages_ = TQRPreparedReport::MemoryPages();
        TQRPreparedReport::SetMemoryPages(2);
    }
    void TearDown() override
    {
        TQRPreparedReport::SetMemoryPages(oldMemoryPages_);
        qputenv("TMPDIR", oldTemp_);
        RunTest::TearDown();
    }

    // A list of many pages with fonts, alignments, colours and a drawn shape.
    TMemDataSet* BuildList(int rows)
    {
        TMemDataSet* table = Table(rows);
        report->SetDataSet(table);
        AddText(AddBand(rbPageHeader, 24), QStringLiteral("Orders"))->Font()->SetSize(14);
        TQRCustomBand* detail = AddBand(rbDetail, 18);
        AddText<TQRExpr>(detail, QStringLiteral("NAME"), 8)->Font()->SetStyle({fsBold});
        auto* qty = AddText<TQRExpr>(detail, QStringLiteral("QTY"), 200);
        qty->SetAlignment(taRightJustify);
        qty->SetColor(clYellow);
        qty->SetTransparent(false);
        auto* price = AddText<TQRExpr>(detail, QStringLiteral("PRICE"), 320);
        price->SetAlignment(taCenter);
        price->Font()->SetColor(clRed);
        auto* shape = New<TQRShape>(form);
        shape->SetParent(detail);
        shape->SetSize(QRectF(450, 2, 40, 12));
        AddText<TQRSysData>(AddBand(rbPageFooter, 20), QStringLiteral("Page "))->SetData(qrsPageNumber);
        return table;
    }

    static void ExpectSamePage(const TQRPreparedReport& expected, const TQRPreparedReport& actual, int page)
    {
        SCOPED_TRACE(page);
        const std::vector<TQRPageText> want = expected.Page(page).Texts;
        const std::vector<TQRPageText> got = actual.Page(page).Texts;
        ASSERT_EQ(got.size(), want.size());
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].Text, want[i].Text);
            EXPECT_EQ(got[i].X, want[i].X);
            EXPECT_EQ(got[i].Y, want[i].Y);
            EXPECT_EQ(got[i].Alignment, want[i].Alignment);
            EXPECT_EQ(got[i].BGColor, want[i].BGColor);
            EXPECT_EQ(got[i].Font->ToQFont(), want[i].Font->ToQFont());
            EXPECT_EQ(got[i].Font->Color(), want[i].Font->Color());
        }
        EXPECT_EQ(Render(actual, page), Render(expected, page));
    }
    QStringList TempFiles() const { return QDir(temp.path()).entryList(QDir::Files); }

    QTemporaryDir temp;

private:
    QByteArray oldTemp_;
    int oldMemoryPages_ = 0;
};

// Text is black; the preview's border is grey.
int DarkPixels(const QImage& image)
{
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    int dark = 0;
    for (int y = 0; y < grey.height(); ++y)
        for (int x = 0; x < grey.width(); ++x)
            dark += qGray(grey.pixel(x, y)) < 100;
    return dark;
}

// Lets files grow to limit bytes for the life of the object, as a full disk
// would: a write past it fails with "File too large" instead of a signal.
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t limit)
    {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldSignal_ = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit r{limit, old_.rlim_max};
        setrlimit(RLIMIT_FSIZE, &r);
    }
    ~TFileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldSignal_);
    }

private:
    rlimit old_{};
    void (*oldSignal_)(int) = nullptr;
};

TEST_F(PageFileTest, PagesComeBackFromTheFileAsTheyWerePrintedAndTheFileGoesWithThem)
{
    BuildList(400);
    TQRPreparedReport::SetMemoryPages(1000);
    const TQRPreparedReport inMemory = Run();
    ASSERT_GT(inMemory.PageCount(), 5);
    EXPECT_TRUE(inMemory.PageFileName().isEmpty());
    TQRPreparedReport::SetMemoryPages(2);
    QString fileName;
    {
        const TQRPreparedReport paged = Run();
        fileName = paged.PageFileName();
        EXPECT_EQ(TempFiles(), QStringList{QFileInfo(fileName).fileName()});
        ASSERT_EQ(paged.PageCount(), inMemory.PageCount());
        // Out of order, as a user pages back and forth.
        for (int page : {paged.PageCount() - 1, 0, 3, 2, 1, 3, paged.PageCount() - 2})
            ExpectSamePage(inMemory, paged, page);
        EXPECT_EQ(PageTexts(paged), PageTexts(inMemory));
    }
    EXPECT_FALSE(QFileInfo::exists(fileName));
    EXPECT_TRUE(TempFiles().isEmpty());
}

TEST_F(PageFileTest, AFullDiskIsAClearErrorThatKeepsThePagesBeforeAndLeavesNoFile)
{
    TMemDataSet* table = BuildList(2000);
    TQRPreparedReport::SetMemoryPages(1000);
    const TQRPreparedReport whole = Run();
    TQRPreparedReport::SetMemoryPages(2);
    {
        TQRPreparedReport pages;
        {
            TFileSizeLimit full(300 * 1024);
            try {
                TQRReportRunner(report).Run(pages);
                FAIL() << "the run went on past a full disk";
            } catch (const EWriteError& e) {
                EXPECT_TRUE(e.Message().contains(pages.PageFileName())) << e.Message().toStdString();
                EXPECT_TRUE(e.Message().contains(QString::fromLocal8Bit(strerror(EFBIG)))) << e.Message().toStdString();
            }
        }
        EXPECT_FALSE(table->Active());
        ASSERT_GT(pages.PageCount(), 3);
        ASSERT_LT(pages.PageCount(), whole.PageCount());
        for (int page = 0; page < pages.PageCount(); ++page)
            ExpectSamePage(whole, pages, page);
        // The disk has room again: the same pages prepare in full.
        TQRReportRunner(report).Run(pages);
        EXPECT_EQ(PageTexts(pages), PageTexts(whole));
    }
    EXPECT_TRUE(TempFiles().isEmpty());
}

TEST_F(PageFileTest, ATemporaryFolderWithoutRoomForTheFileIsAClearErrorThatKeepsThePagesBefore)
{
    TMemDataSet* table = BuildList(400);
    // A file where the folder should be: root may write anywhere else.
    const QString missing = temp.filePath(QStringLiteral("not-a-folder"));
    ASSERT_TRUE(QFile(missing).open(QIODevice::WriteOnly));
    qputenv("TMPDIR", missing.toLocal8Bit());
    TQRPreparedReport pages;
    try {
        TQRReportRunner(report).Run(pages);
        FAIL() << "the run went on without its page file";
    } catch (const EFCreateError& e) {
        EXPECT_TRUE(e.Message().contains(missing)) << e.Message().toStdString();
    }
    EXPECT_FALSE(table->Active());
    EXPECT_EQ(pages.PageCount(), 2);
    EXPECT_EQ(PageTexts(pages)[1].last(), QStringLiteral("Page 2"));
}

// A page file that no longer gives a page back: reading it is an error, and
// the preview says so on the page instead of painting it.
TEST_F(PageFileTest, APageFileCutShortIsAReadErrorThatThePreviewShowsOnThePage)
{
    BuildList(400);
    {
        const TQRPreparedReport pages = Run();
        ASSERT_TRUE(QFile::resize(pages.PageFileName(), QFileInfo(pages.PageFileName()).size() / 2));
        EXPECT_NO_THROW(pages.Page(2));
        EXPECT_THROW(pages.Page(pages.PageCount() - 1), EReadError);
        EXPECT_NO_THROW(pages.Page(0));
    }
    PreviewShown([&](TQRPreviewForm* preview) {
        EXPECT_TRUE(RunEventsUntil([&] { return !preview->Preparing() && preview->PageCount() > 5; }));
        const QString file = preview->Pages().PageFileName();
        EXPECT_TRUE(QFile::resize(file, QFileInfo(file).size() / 2));
        ClickButton(PreviewButton(preview, QStringLiteral(">|")));
        const QImage shown = ShownPage(preview);
        EXPECT_GT(DarkPixels(shown), 100) << "nothing said on the page";
        ClickButton(PreviewButton(preview, QStringLiteral("Close")));
    }, mrOk);
    EXPECT_TRUE(TempFiles().isEmpty());
}

// A record whose counts or numbers are out of range is as damaged as one cut
// short: the page cannot be read, and says so.
TEST_F(PageFileTest, ARecordWithNumbersOutOfRangeIsAReadError)
{
    // a page without a picture: its record starts with the picture's length
    // (0), then the number of texts, then each text's position and font number
    const auto damaged = [](qint64 offset, quint32 value) {
        TQRPageFile file;
        TQRPreparedPage page;
        page.Texts.push_back({1, 2, std::make_shared<TFont>(), clWhite, taCenter, QStringLiteral("x")});
        file.Append(page);
        EXPECT_EQ(file.Read(0).Texts.size(), 1u);
        QFile raw(file.FileName());
        EXPECT_TRUE(raw.open(QIODevice::ReadWrite) && raw.seek(offset));
        raw.write(reinterpret_cast<const char*>(&value), sizeof value);
        raw.close();
        EXPECT_THROW(file.Read(0), EReadError) << offset;
    };
    damaged(4, 0xFFFFFFFF);         // more texts than the record holds
    damaged(4 + 4 + 2 * 8, 7);      // a font the run never had
    damaged(4 + 4 + 2 * 8 + 8, 9);  // no alignment
}

// The preview of a full disk: the message says so, the pages that came stay
// to be looked at, and the file goes with the window.
TEST_F(PageFileTest, APreviewOnAFullDiskShowsTheErrorAndKeepsItsPages)
{
    BuildList(2000);
    Modal::ClearMessages();
    PreviewShown([&](TQRPreviewForm* preview) {
        {
            TFileSizeLimit full(300 * 1024);
            EXPECT_TRUE(RunEventsUntil([&] { return !Modal::Messages().isEmpty(); }));
        }
        EXPECT_FALSE(preview->Preparing());
        EXPECT_GT(preview->PageCount(), 3);
        ClickButton(PreviewButton(preview, QStringLiteral(">|")));
        EXPECT_EQ(preview->CurrentPage(), preview->PageCount());
        EXPECT_EQ(TempFiles().size(), 1);
    }, mrOk);
    ASSERT_EQ(Modal::Messages().size(), 1);
    EXPECT_TRUE(Modal::Messages()[0].contains(QStringLiteral("could not be written"))) << Modal::Messages()[0].toStdString();
    EXPECT_TRUE(TempFiles().isEmpty());
}

// Page 1 of a long table shows while the rest are still coming, having read
// no further than its own records, and the detail count still prints the
// table's records on it.
TEST_F(PageFileTest, ThePreviewShowsPageOneWhileTheRestArePrepared)
{
    TMemDataSet* table = BuildList(20000);
    AddText<TQRSysData>(Band(rbPageHeader), QStringLiteral("Of "), 300)->SetData(qrsDetailCount);
    int furthest = 0;
    table->AfterScroll = TDataSetNotifyEvent([&](TDataSet* ds) { furthest = std::max(furthest, ds->RecNo()); });
    PreviewShown([&](TQRPreviewForm* preview) {
        EXPECT_TRUE(RunEventsUntil([&] { return preview->PageCount() > 0; }));
        EXPECT_TRUE(preview->Preparing());
        EXPECT_EQ(preview->CurrentPage(), 1);
        EXPECT_LT(furthest, 100);
        const QStringList first = PageTexts(preview->Pages())[0];
        EXPECT_TRUE(first.contains(QStringLiteral("Of 20000"))) << first.join('|').toStdString();
        EXPECT_TRUE(first.contains(QStringLiteral("Item1")));
        const QImage shown = ShownPage(preview);
        EXPECT_GT(DarkPixels(shown), 100) << "no page drawn";
        ClickButton(PreviewButton(preview, QStringLiteral("Close")));
    }, mrOk);
    EXPECT_FALSE(table->Active());
    EXPECT_TRUE(TempFiles().isEmpty());
}

}  // namespace
