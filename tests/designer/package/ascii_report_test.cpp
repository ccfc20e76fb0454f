// A real report run through the engine into the plain-text filter gives
// exactly the text of the filter's grid, worked out by hand in the golden
// file: A4 portrait, 10 mm margins, the report font 10 points, so a text
// at x pixels from the paper's edge stands in column x * 254/96 / (10 *
// 254/72) * 1.7 and a line at y pixels in row y * 254/96 / (10 * 254/72).
#include "designer/export/AsciiExportFilter.h"
#include "classes/Published.h"
#include "db/DataSet.h"
#include "engine/Bands.h"
#include "engine/Printables.h"
#include "engine/QuickRep.h"
#include "engine/export/ExportFilter.h"
#include "engine/preview/PreviewForm.h"
#include "forms/Forms.h"
#include "DialogHands.h"

#include <QToolButton>

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class TAnimals : public TDataSet {
    VK_CLASS(TAnimals, TDataSet)
protected:
    TTableData OpenData() override
    {
        return {{{"NAME", ftString, 10}, {"QTY", ftInteger}},
                {{QStringLiteral("Lion"), qint64(3)}, {QStringLiteral("Zebra"), qint64(12)},
                 {QStringLiteral("Cat"), qint64(140)}}};
    }
};

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

class AsciiReportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = New<TForm>(nullptr);
        report = New<TQuickRep>(form);
        report->SetParent(form);
        TQRPage* page = report->Page();
        page->SetPaperSize(pzA4);
        page->SetOrientation(poPortrait);
        page->SetTopMargin(10);
        page->SetBottomMargin(10);
        page->SetLeftMargin(10);
        page->SetRightMargin(10);
        report->SetOptions(TQROptions{LastPageFooter});
        report->Font()->SetSize(10);
        auto* table = New<TAnimals>(form);
        report->SetDataSet(table);
    }
    void TearDown() override { form->Free(); }

    TQRCustomBand* AddBand(TQRBandType type, double height)
    {
        TQRCustomBand* band = report->CreateBand(type);
        band->SetBandHeight(height);
        return band;
    }
    template <class T>
    T* AddText(TQRCustomBand* band, double left, double width, TAlignment alignment)
    {
        T* element = New<T>(form);
        element->SetParent(band);
        element->SetAutoSize(false);
        element->SetWordWrap(false);
        element->SetAlignment(alignment);
        element->SetSize(QRectF(left, 0, width, 17));
        return element;
    }

    TForm* form = nullptr;
    TQuickRep* report = nullptr;
};

}  // namespace

VK_PUBLISHED(TAnimals) {}

// Centred, left- and right-justified texts, a field column whose numbers end
// in one column, a detail band that starts a page for each record (the
// column header repeats on each later page) and a page number across the
// footer band's width.
TEST_F(AsciiReportTest, ExportGivesTheGridWorkedOutByHand)
{
    AddText<TQRLabel>(AddBand(rbTitle, 40), 0, 200, taCenter)->SetCaption("Animals");
    TQRCustomBand* header = AddBand(rbColumnHeader, 20);
    AddText<TQRLabel>(header, 0, 100, taLeftJustify)->SetCaption("NAME");
    AddText<TQRLabel>(header, 120, 80, taRightJustify)->SetCaption("QTY");
    TQRCustomBand* detail = AddBand(rbDetail, 20);
    detail->SetForceNewPage(true);
    for (auto [left, width, alignment, field] :
         {std::tuple{0.0, 100.0, taLeftJustify, "NAME"}, {120.0, 80.0, taRightJustify, "QTY"}}) {
        auto* text = AddText<TQRDBText>(detail, left, width, alignment);
        text->SetDataSet(report->DataSet());
        text->SetDataField(field);
    }
    auto* pageNumber = AddText<TQRSysData>(AddBand(rbPageFooter, 20), 0, 40, taRightJustify);
    pageNumber->SetAlignToBand(true);
    pageNumber->SetData(qrsPageNumber);
    pageNumber->SetText("Page ");

    QTemporaryDir dir;
    const QString path = dir.filePath("animals.txt");
    report->ExportToFilter(new TQRAsciiExportFilter(path));

    QByteArray golden = ReadAll(qEnvironmentVariable("VK_TEST_DATA") + "/ascii_export/animals.txt");
    ASSERT_FALSE(golden.isEmpty());
    EXPECT_EQ(ReadAll(path), golden.replace("\n", "\r\n"));
}

// The preview's save dialog lists the engine's text filter and this one under
// the same name; picking the second in the real dialog saves through this one:
// CR LF lines, no blank lines, no form feeds.
TEST_F(AsciiReportTest, PreviewSavesThroughTheFilterPickedAmongLookAlikes)
{
    TQRCustomBand* detail = AddBand(rbDetail, 20);
    detail->SetForceNewPage(true);
    auto* name = AddText<TQRDBText>(detail, 0, 100, taLeftJustify);
    name->SetDataSet(report->DataSet());
    name->SetDataField("NAME");
    const auto& entries = QRExportFilterLibrary.Filters();
    std::vector<int> lookAlikes;
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].FilterName == QLatin1String("Text file"))
            lookAlikes.push_back(int(i));
    ASSERT_EQ(lookAlikes.size(), 2u);
    ASSERT_EQ(entries[lookAlikes[1]].Class, std::type_index(typeid(TQRAsciiExportFilter)));

    QTemporaryDir dir;
    const QString path = dir.filePath("animals.TXT");
    TDialogHands hands;
    TModalScope scope([&](TModalRequest& request) {
        if (request.Kind == TModalKind::SaveDialog)
            return hands.Run<QFileDialog>(request, [&](QFileDialog& qt) {
                FileDialogHands::PickFilter(qt, lookAlikes[1]);
                FileDialogHands::Type(qt, path);
                FileDialogHands::Accept(qt);
            });
        auto* preview = dynamic_cast<TQRPreviewForm*>(request.Subject);
        if (!preview)
            return int(mrCancel);
        preview->Show();
        EXPECT_TRUE(preview->PreparePages());
        for (QToolButton* button : preview->Widget()->findChildren<QToolButton*>())
            if (button->text() == QLatin1String("Save"))
                QTest::mouseClick(button, Qt::LeftButton);
        return int(mrOk);
    });
    report->Preview();
    const QByteArray text = ReadAll(path);
    EXPECT_TRUE(text.contains("Lion\r\n") && text.contains("Zebra\r\n") && text.endsWith("Cat\r\n")) << text.data();
    EXPECT_EQ(text.count('\f'), 0);
    EXPECT_EQ(text.count("\r\n"), 3);
}
