// The report's object model: band sets, child chains, ownership, geometry,
// zoom, element placement and alignment.
#include "model_fixture.h"

#include "engine/QRUtils.h"

namespace {

TEST_F(ReportTest, BandSetIndexesAddAndFreeTheirKinds)
{
    const std::pair<int, TQRBandType> table[] = {{1, rbTitle},  {2, rbPageHeader}, {3, rbColumnHeader},
                                                 {4, rbDetail}, {6, rbPageFooter}, {7, rbSummary}};
    for (auto [index, kind] : table) {
        EXPECT_FALSE(report->Bands()->GetHasBand(index));
        report->Bands()->SetHasBand(index, true);
        ASSERT_TRUE(report->Bands()->GetHasBand(index)) << index;
        EXPECT_EQ(Band(kind)->BandType(), kind) << index;
    }
    EXPECT_EQ(report->BandList().size(), 6u);
    EXPECT_THROW(report->Bands()->GetHasBand(5), EListError);
    EXPECT_THROW(report->Bands()->SetHasBand(0, true), EListError);

    // False frees the band with its elements
    Band(rbSummary)->AddPrintable(TQRLabel::ClassInfo());
    const int components = form->ComponentCount();
    report->Bands()->SetHasSummary(false);
    EXPECT_FALSE(report->Bands()->HasSummary());
    EXPECT_EQ(form->ComponentCount(), components - 2);
}

TEST_F(ReportTest, TwoBandsOfOneKindFreeTheFirst)
{
    TQRCustomBand* first = report->CreateBand(rbDetail);
    TQRCustomBand* second = report->CreateBand(rbDetail);
    report->Bands()->SetHasDetail(false);
    EXPECT_TRUE(report->Bands()->HasDetail());
    EXPECT_EQ(Band(rbDetail), second);
    EXPECT_NE(first, second);
}

TEST_F(ReportTest, ChildChainsFollowTheirParent)
{
    report->Bands()->SetHasTitle(true);
    report->Bands()->SetHasDetail(true);
    TQRCustomBand* title = Band(rbTitle);
    title->SetHasChild(true);
    TQRChildBand* child = title->ChildBand();
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->ParentBand(), title);
    child->SetHasChild(true);
    TQRChildBand* grandchild = child->ChildBand();
    ASSERT_NE(grandchild, nullptr);
    EXPECT_EQ(Kinds(), (std::vector<TQRBandType>{rbTitle, rbChild, rbChild, rbDetail}));
    EXPECT_EQ(report->BandList()[2], grandchild);

    // dropping the middle link: the grandchild now follows the title
    grandchild->AddPrintable(TQRShape::ClassInfo());
    title->SetHasChild(false);
    EXPECT_EQ(title->ChildBand(), grandchild);
    EXPECT_EQ(grandchild->ParentBand(), title);
    EXPECT_EQ(grandchild->Printables().size(), 1u);
    EXPECT_EQ(Kinds(), (std::vector<TQRBandType>{rbTitle, rbChild, rbDetail}));
    EXPECT_EQ(grandchild->Top(), title->Top() + title->Height());
}

TEST_F(ReportTest, WhatTheEngineCreatesIsOwnedByTheReportsOwner)
{
    report->Bands()->SetHasDetail(true);
    TQRCustomBand* detail = Band(rbDetail);
    detail->SetHasChild(true);
    TQRPrintable* element = detail->AddPrintable(TQRExpr::ClassInfo());
    EXPECT_EQ(detail->Owner(), form);
    EXPECT_EQ(detail->ChildBand()->Owner(), form);
    EXPECT_EQ(element->Owner(), form);
    EXPECT_EQ(detail->Parent(), report);
    EXPECT_EQ(element->Parent(), detail);
    EXPECT_EQ(element->ParentReport(), report);
    EXPECT_TRUE(element->Is<TQRExpr>());
}

TEST_F(ReportTest, PageGeometryAtZoom100)
{
    EXPECT_EQ(report->Width(), 794);
    EXPECT_EQ(report->Height(), 1123);
    for (int index : {7, 6, 4, 3, 1, 2})  // added out of print order
        report->Bands()->SetHasBand(index, true);
    EXPECT_EQ(Kinds(), (std::vector<TQRBandType>{rbPageHeader, rbTitle, rbColumnHeader, rbDetail, rbSummary,
                                                 rbPageFooter}));
    int top = 38;
    for (TQRCustomBand* band : report->BandList()) {
        EXPECT_EQ(band->BoundsRect(), QRect(38, top, 718, 40)) << QRBandTypeName(band->BandType()).toStdString();
        top += 40;
    }

    report->Page()->SetOrientation(poLandscape);
    EXPECT_EQ(report->Width(), 1123);
    EXPECT_EQ(report->Height(), 794);
    EXPECT_EQ(Band(rbTitle)->Width(), 1047);

    // a taller band pushes the later ones down
    Band(rbTitle)->SetHeight(100);
    EXPECT_EQ(Band(rbColumnHeader)->Top(), 38 + 40 + 100);
}

TEST_F(ReportTest, ZoomScalesAndComesBackExactly)
{
    report->Bands()->SetHasTitle(true);
    report->Bands()->SetHasDetail(true);
    TQRCustomBand* detail = Band(rbDetail);
    TQRPrintable* shape = detail->AddPrintable(TQRShape::ClassInfo());
    shape->SetBounds(17, 9, 33, 21);
    detail->SetHeight(57);
    const QRect shapeBefore = shape->BoundsRect(), detailBefore = detail->BoundsRect();

    report->SetZoom(50);
    EXPECT_EQ(report->Width(), 397);
    EXPECT_EQ(detail->Top(), 39);  // (38 + 40) / 2
    report->SetZoom(0);
    report->SetZoom(301);
    EXPECT_EQ(report->Zoom(), 50);
    for (int zoom : {33, 77, 150, 300, 1, 100}) {
        report->SetZoom(zoom);
        EXPECT_EQ(report->Zoom(), zoom);
    }
    EXPECT_EQ(shape->BoundsRect(), shapeBefore);
    EXPECT_EQ(detail->BoundsRect(), detailBefore);
    EXPECT_EQ(report->Width(), 794);

    // a move made at another zoom is kept zoom-independent
    report->SetZoom(200);
    shape->SetLeft(60);
    report->SetZoom(100);
    EXPECT_EQ(shape->Left(), 30);
}

TEST_F(ReportTest, AddPrintablePlacesRightOfWhatIsThere)
{
    report->Bands()->SetHasColumnHeader(true);
    TQRCustomBand* band = Band(rbColumnHeader);
    TQRPrintable* first = band->AddPrintable(TQRLabel::ClassInfo());
    TQRPrintable* second = band->AddPrintable(TQRLabel::ClassInfo());
    first->SetWidth(100);
    TQRPrintable* third = band->AddPrintable(TQRImage::ClassInfo());
    EXPECT_GT(first->Height(), 0);
    EXPECT_GT(second->Left(), first->Left() + 64 - 1);
    EXPECT_GT(third->Left(), std::max(first->Left() + first->Width(), second->Left() + second->Width()) - 1);
    EXPECT_EQ(third->Width(), 105);
    const int components = form->ComponentCount();
    EXPECT_THROW(band->AddPrintable(TQRBand::ClassInfo()), EInvalidCast);
    EXPECT_EQ(form->ComponentCount(), components);
}

TEST_F(ReportTest, AlignmentToTheBandAndAutoSize)
{
    report->Bands()->SetHasTitle(true);
    auto* label = static_cast<TQRLabel*>(Band(rbTitle)->AddPrintable(TQRLabel::ClassInfo()));
    label->SetCaption(QStringLiteral("A title"));
    EXPECT_TRUE(label->AutoSize());
    const int textWidth = label->Width();
    label->SetCaption(QStringLiteral("A much longer title"));
    EXPECT_GT(label->Width(), textWidth);

    label->SetAlignToBand(true);
    label->SetAlignment(taCenter);
    EXPECT_FALSE(label->AutoSize());
    EXPECT_NEAR(label->Left(), (718 - label->Width()) / 2, 1);
    label->SetAlignment(taRightJustify);
    EXPECT_EQ(label->Left() + label->Width(), 718);
    label->SetCaption(QStringLiteral("x"));  // no auto size any more: the width stays
    EXPECT_EQ(label->Left() + label->Width(), 718);
    report->Page()->SetOrientation(poLandscape);
    EXPECT_EQ(label->Left() + label->Width(), 1047);

    auto* sys = static_cast<TQRSysData*>(Band(rbTitle)->AddPrintable(TQRSysData::ClassInfo()));
    sys->SetAlignment(taLeftJustify);
    EXPECT_TRUE(sys->AutoSize());
    sys->SetData(qrsPageNumber);
    EXPECT_TRUE(sys->DisplayText().contains(QStringLiteral("Page number")));
    auto* expr = static_cast<TQRExpr*>(Band(rbTitle)->AddPrintable(TQRExpr::ClassInfo()));
    expr->SetExpression(QStringLiteral("[OrderNo]"));
    EXPECT_EQ(expr->DisplayText(), QStringLiteral("[OrderNo]"));
}

TEST_F(ReportTest, FrameSidesAndShapes)
{
    TQRFrame* frame = report->Frame();
    for (int side = 0; side < 4; ++side)
        frame->SetValue(side, true);
    EXPECT_TRUE(frame->DrawTop() && frame->DrawBottom() && frame->DrawLeft() && frame->DrawRight());
    frame->SetValue(1, false);
    EXPECT_FALSE(frame->DrawBottom());
    EXPECT_TRUE(frame->DrawTop());
    EXPECT_THROW(frame->SetValue(4, true), EListError);
}

TEST(EngineRoutines, BandNamesAndUniqueNames)
{
    EXPECT_EQ(QRBandTypeName(rbTitle), QStringLiteral("Title"));
    EXPECT_EQ(QRBandTypeName(rbColumnHeader), QStringLiteral("Column Header"));
    EXPECT_EQ(QRBandTypeName(rbChild), QStringLiteral("Child"));
    TForm* owner = New<TForm>(nullptr);
    EXPECT_EQ(UniqueName(owner, QStringLiteral("QRLabel")), QStringLiteral("QRLabel1"));
    New<TQRLabel>(owner)->SetName(QStringLiteral("QRLabel1"));
    New<TQRLabel>(owner)->SetName(QStringLiteral("qrlabel3"));
    EXPECT_EQ(UniqueName(owner, QStringLiteral("QRLabel")), QStringLiteral("QRLabel2"));
    owner->Free();
    EXPECT_FALSE(GetFonts().isEmpty());
}

}  // namespace
