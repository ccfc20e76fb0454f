// A layout with every band and element kind streamed out and read back, and
// a picture of a sample report in the designer for review.
#include "model_fixture.h"

#include "classes/ClassRegistry.h"
#include "classes/Streaming.h"
#include "engine/QRUtils.h"
#include "ScreenCheck.h"

#include <QDir>

namespace {

void RegisterElements()
{
    RegisterClasses({TQRLabel::ClassInfo(), TQRMemo::ClassInfo(), TQRDBText::ClassInfo(), TQRExpr::ClassInfo(),
                     TQRSysData::ClassInfo(), TQRShape::ClassInfo(), TQRImage::ClassInfo(),
                     TQRDBImage::ClassInfo()});
}

// Names every unnamed component of the form, as a designer does before saving.
void NameAll(TComponent* form)
{
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (form->Components(i)->Name().isEmpty())
            form->Components(i)->SetName(UniqueName(form, form->Components(i)->ClassName().mid(1)));
}

// A sample report: every band kind and every element kind with settings off their defaults.
void BuildSample(TQuickRep* report)
{
    report->SetReportTitle(QStringLiteral("Orders"));
    report->Font()->SetName(QStringLiteral("Arial"));
    report->Font()->SetHeight(-13);
    report->PrinterSettings()->Copies = 2;
    for (int index : {1, 2, 3, 4, 6, 7})
        report->Bands()->SetHasBand(index, true);
    auto* group = static_cast<TQRGroup*>(report->CreateBand(rbGroupHeader));
    group->SetExpression(QStringLiteral("[CustNo]"));
    TQRCustomBand* footer = report->CreateBand(rbGroupFooter);
    group->SetFooterBand(footer);
    auto* sub = static_cast<TQRSubDetail*>(report->CreateBand(rbSubDetail));
    sub->SetMaster(report);
    TQRCustomBand* title = report->FirstBandOfType(rbTitle);
    title->SetHasChild(true);
    title->Frame()->SetValue(1, true);
    report->FirstBandOfType(rbDetail)->SetForceNewPage(true);
    report->FirstBandOfType(rbDetail)->SetBandHeight(120);

    auto* label = static_cast<TQRLabel*>(title->AddPrintable(TQRLabel::ClassInfo()));
    label->SetCaption(QStringLiteral("Orders by customer"));
    label->SetAlignToBand(true);
    label->SetAlignment(taCenter);  // switches AutoSize off ...
    label->SetAutoSize(true);        // ... and a layout keeps it on again
    label->Font()->SetStyle(TFontStyles{fsBold});
    label->Font()->SetSize(14);
    TQRCustomBand* detail = report->FirstBandOfType(rbDetail);
    auto* expr = static_cast<TQRExpr*>(detail->AddPrintable(TQRExpr::ClassInfo()));
    expr->SetExpression(QStringLiteral("[OrderNo]"));
    expr->SetMask(QStringLiteral("#,##0"));
    auto* field = static_cast<TQRDBText*>(detail->AddPrintable(TQRDBText::ClassInfo()));
    field->SetDataField(QStringLiteral("ShipToContact"));
    auto* memo = static_cast<TQRMemo*>(detail->AddPrintable(TQRMemo::ClassInfo()));
    memo->Lines()->Add(QStringLiteral("first line"));
    memo->Lines()->Add(QStringLiteral("second line"));
    auto* shape = static_cast<TQRShape*>(detail->AddPrintable(TQRShape::ClassInfo()));
    shape->SetShape(qrsCircle);
    shape->Brush()->SetColor(clYellow);
    shape->SetTop(40);
    auto* image = static_cast<TQRImage*>(detail->AddPrintable(TQRImage::ClassInfo()));
    QImage banner(40, 30, QImage::Format_RGB32);
    banner.fill(QColor(0, 128, 128));
    TBitmap bitmap;
    bitmap.SetImage(banner);
    image->Picture()->SetGraphic(&bitmap);
    image->SetStretch(true);
    auto* picture = static_cast<TQRDBImage*>(detail->AddPrintable(TQRDBImage::ClassInfo()));
    picture->SetDataField(QStringLiteral("BMP"));
    picture->SetTop(10);
    TQRCustomBand* pageFooter = report->FirstBandOfType(rbPageFooter);
    auto* page = static_cast<TQRSysData*>(pageFooter->AddPrintable(TQRSysData::ClassInfo()));
    page->SetData(qrsPageNumber);
    page->SetText(QStringLiteral("Page "));
    page->SetAlignToBand(true);
    page->SetAlignment(taRightJustify);
}

TEST_F(ReportTest, EveryClassStreamsOutAndBackIdentical)
{
    RegisterElements();
    BuildSample(report);
    report->SetZoom(75);
    NameAll(form);
    const QString text = WriteComponentText(form);
    EXPECT_TRUE(text.contains(QStringLiteral("Expression = '[OrderNo]'")));

    TForm* copy = New<TForm>(nullptr);
    ReadComponentText(text, copy);
    EXPECT_EQ(WriteComponentText(copy), text);

    auto* read = dynamic_cast<TQuickRep*>(copy->FindComponent(report->Name()));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Zoom(), 75);
    EXPECT_EQ(read->BandList().size(), report->BandList().size());
    for (size_t i = 0; i < read->BandList().size(); ++i) {
        EXPECT_EQ(read->BandList()[i]->BandType(), report->BandList()[i]->BandType());
        EXPECT_EQ(read->BandList()[i]->BoundsRect(), report->BandList()[i]->BoundsRect());
    }
    auto* group = dynamic_cast<TQRGroup*>(read->FirstBandOfType(rbGroupHeader));
    EXPECT_EQ(group->FooterBand(), read->FirstBandOfType(rbGroupFooter));
    EXPECT_EQ(read->FirstBandOfType(rbTitle)->ChildBand()->ParentBand(), read->FirstBandOfType(rbTitle));
    read->SetZoom(100);
    report->SetZoom(100);
    for (TQRPrintable* element : report->FirstBandOfType(rbDetail)->Printables()) {
        auto* twin = dynamic_cast<TQRPrintable*>(copy->FindComponent(element->Name()));
        ASSERT_NE(twin, nullptr);
        EXPECT_EQ(twin->BoundsRect(), element->BoundsRect()) << element->Name().toStdString();
    }
    copy->Free();
}

// The streamed Size values are the control's rectangle: writing one of them
// (as a stream of another program or an inspector does) places the control,
// and a band's new height restacks the bands below it.
TEST_F(ReportTest, WritingTheStreamedSizePlacesTheControl)
{
    report->SetZoom(50);
    TQRCustomBand* title = report->CreateBand(rbTitle);
    TQRCustomBand* detail = report->CreateBand(rbDetail);
    TQRPrintable* shape = title->AddPrintable(TQRShape::ClassInfo());
    shape->StreamedSize()->SetLeft(40);
    shape->StreamedSize()->SetWidth(30);
    EXPECT_EQ(shape->Left(), 20);
    EXPECT_EQ(shape->Width(), 15);
    title->StreamedSize()->SetHeight(80);
    EXPECT_EQ(title->Height(), 40);
    EXPECT_EQ(detail->Top(), title->Top() + 40);
}

TEST_F(ReportTest, SampleReportInTheDesignerForReview)
{
    BuildSample(report);
    TQRDesigner* designer = New<TQRDesigner>(form);
    designer->Edit(report);
    TQRPrintable* shape = report->FirstBandOfType(rbDetail)->Printables()[3];
    shape->MouseDown(mbLeft, TShiftState{ssLeft}, 20, 20);
    shape->MouseUp(mbLeft, TShiftState{}, 20, 20);
    ASSERT_EQ(designer->Selected(), shape);
    form->Show();
    const QImage image = report->Grab();
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(794, 1123));
    EXPECT_TRUE(DrawnIn(image, RectIn(shape, report)));
    const QString dir = qEnvironmentVariable("VK_BUILD_DIR", QDir::tempPath()) + QStringLiteral("/screenshots");
    QDir().mkpath(dir);
    EXPECT_TRUE(image.save(dir + QStringLiteral("/engine_designer_sample.png")));
    form->Hide();
}

}  // namespace
