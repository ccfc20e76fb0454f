// What a run holds and for how long: prepared pages that outlive their
// report's fonts and the report itself.
#include "run_fixture.h"

#include "engine/export/ReportExport.h"

#include <QImage>
#include <QPainter>

namespace {

QImage Render(const TQRPreparedReport& pages, int page = 0)
{
    QImage image(QSizeF(pages.PaperWidth, pages.PaperLength).toSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PlayPage(pages.Pages.at(page), painter, 1);
    return image;
}

// The report font and the font of each text as an export filter gets them.
class TFontSizes : public TQRExportFilter {
public:
    using TQRExportFilter::TQRExportFilter;
    QList<int> Sizes;
    void Start(int, int, TFont* font) override { Sizes << font->Size(); }
    void TextOut(double, double, TFont* font, TColor, TAlignment, const QString&) override { Sizes << font->Size(); }
};

TEST_F(RunTest, PreparedPagesKeepTheirFontsWhenTheReportChangesOrGoes)
{
    report->SetDataSet(Table(3));
    report->Font()->SetSize(10);
    auto* name = AddText<TQRExpr>(AddBand(rbDetail, 40), QStringLiteral("NAME"), 0, 0, 300);
    name->Font()->SetSize(16);
    const TQRPreparedReport pages = Run();
    const QImage printed = Render(pages);

    name->Font()->SetSize(30);
    name->Font()->SetColor(clRed);
    report->Font()->SetSize(20);
    EXPECT_EQ(Render(pages), printed);

    FreeAndNil(form);
    EXPECT_EQ(Render(pages), printed);
    TFontSizes sizes(QString{});
    ExportPreparedReport(pages, &sizes);
    EXPECT_EQ(sizes.Sizes, QList<int>({10, 16, 16, 16}));
}

}  // namespace
