// The font toolbar: name and size boxes and thirteen buttons acting on the
// selected element at once.
#include "ToolbarFixture.h"
#include "designer/toolbars/FontToolbar.h"
#include "dialogs/Dialogs.h"
#include "engine/QRUtils.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFontDatabase>
#include <QTest>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

namespace {

class FontToolbarTest : public ToolbarTest {
protected:
    void SetUp() override
    {
        ToolbarTest::SetUp();
        bar = NewToolbar<TQRCustomLabelToolbar>();
        label = NewElement<TQRLabel>();
        label->SetCaption("Customer");
    }
    TQRCustomLabelToolbar* bar = nullptr;
    TQRLabel* label = nullptr;
};

TEST_F(FontToolbarTest, Layout)
{
    EXPECT_EQ(bar->FontNameBox->BoundsRect().topLeft(), QPoint(4, 4));
    EXPECT_EQ(bar->FontNameBox->Width(), 130);
    EXPECT_TRUE(bar->FontNameBox->Sorted());
    EXPECT_EQ(bar->FontSizeBox->BoundsRect().topLeft(), QPoint(138, 4));
    EXPECT_EQ(bar->FontSizeBox->Width(), 50);
    EXPECT_FALSE(bar->FontSizeBox->Sorted());
    EXPECT_EQ(bar->FontNameBox->Items()->Count(), 0);
    EXPECT_EQ(bar->FontSizeBox->Items()->Count(), 0);

    struct Row {
        TSpeedButton* button;
        QString hint;
        int group;
        int left;
    };
    const Row rows[] = {{bar->BoldButton, "Bold", 2, 196},
                        {bar->ItalicButton, "Italic", 3, 220},
                        {bar->UnderlineButton, "Underline", 4, 244},
                        {bar->AlignLeftButton, "Left align", 1, 276},
                        {bar->AlignCenterButton, "Center", 1, 300},
                        {bar->AlignRightButton, "Right align", 1, 324},
                        {bar->FontColorButton, "Font Color", 0, 356},
                        {bar->BkColorButton, "Background color", 0, 380},
                        {bar->FrameLeftButton, "Left Frame", 5, 412},
                        {bar->FrameTopButton, "Top Frame", 6, 436},
                        {bar->FrameBottomButton, "Bottom Frame", 7, 460},
                        {bar->FrameRightButton, "Right Frame", 8, 484},
                        {bar->AutoSizeButton, "Autosize", 9, 516}};
    for (const Row& row : rows) {
        EXPECT_EQ(row.button->Hint(), row.hint);
        EXPECT_EQ(row.button->BoundsRect(), QRect(row.left, 4, 24, 24)) << row.hint.toStdString();
        EXPECT_EQ(row.button->GroupIndex(), row.group) << row.hint.toStdString();
        EXPECT_FALSE(row.button->Glyph()->Empty()) << row.hint.toStdString();
    }
    EXPECT_EQ(bar->NextX, 540);
}

TEST_F(FontToolbarTest, RefreshShowsTheElementAndNilChangesNothing)
{
    label->Font()->SetName("Courier New");
    label->Font()->SetSize(14);
    label->Font()->SetStyle({fsBold});
    label->SetAlignment(taRightJustify);
    bar->SetComponent(label);
    EXPECT_EQ(bar->FontNameBox->Text(), "Courier New");
    EXPECT_EQ(bar->FontSizeBox->Text(), "14");
    EXPECT_TRUE(bar->BoldButton->Down());
    EXPECT_FALSE(bar->ItalicButton->Down());
    EXPECT_TRUE(bar->AlignRightButton->Down());
    EXPECT_FALSE(bar->AlignLeftButton->Down());
    for (TSpeedButton* b : {bar->FrameLeftButton, bar->FrameTopButton, bar->FrameBottomButton, bar->FrameRightButton})
        EXPECT_FALSE(b->Down());
    EXPECT_EQ(bar->AutoSizeButton->Down(), label->AutoSize());

    bar->SetComponent(nullptr);
    EXPECT_EQ(bar->FontNameBox->Text(), "Courier New");
    EXPECT_TRUE(bar->BoldButton->Down());
    EXPECT_TRUE(bar->AlignRightButton->Down());
}

TEST_F(FontToolbarTest, NameListIsFetchedOnceAndNamesAreAppliedAsTheFontTakesThem)
{
    bar->SetComponent(label);
    bar->Show();
    auto openList = [&] {
        auto* list = qobject_cast<QComboBox*>(bar->FontNameBox->Widget());
        ASSERT_NE(list, nullptr);
        list->showPopup();
        list->hidePopup();
    };
    openList();
    QStringList fonts = GetFonts();
    ASSERT_FALSE(fonts.isEmpty());
    fonts.sort(Qt::CaseInsensitive);
    QStringList shown;
    for (int i = 0; i < bar->FontNameBox->Items()->Count(); ++i)
        shown << bar->FontNameBox->Items()->Strings(i);
    EXPECT_EQ(shown, fonts) << "the engine's fonts in alphabetical order";
    bar->FontNameBox->Items()->Clear();
    bar->FontNameBox->Items()->Add("Only");
    openList();
    EXPECT_EQ(bar->FontNameBox->Items()->Count(), 1) << "a filled list is not fetched again";

    const QString longName(40, 'x');
    bar->FontNameBox->SetText(longName);
    EXPECT_EQ(Type(bar->FontNameBox, QChar(13)), QChar(13)) << "Enter is passed on";
    EXPECT_EQ(label->Font()->Name(), longName.left(31));
    EXPECT_EQ(bar->FontNameBox->Text(), longName.left(31));

    bar->FontNameBox->SetText("");
    bar->FontNameBox->DoExit();
    EXPECT_EQ(label->Font()->Name(), longName.left(31));
    EXPECT_EQ(bar->FontNameBox->Text(), longName.left(31));

    bar->FontNameBox->ChooseItem(0);  // "Only", chosen from the list
    EXPECT_EQ(label->Font()->Name(), "Only");
}

TEST_F(FontToolbarTest, NameListHoldsEachFamilyOnceSortedAndDropsDownWideEnoughForIt)
{
    bar->SetComponent(label);
    host->Show();
    bar->Show();
    auto* box = qobject_cast<QComboBox*>(bar->FontNameBox->Widget());
    ASSERT_NE(box, nullptr);
    const QPoint arrow(box->width() - 5, box->height() / 2);
    QTest::mouseClick(box, Qt::LeftButton, {}, arrow);
    QStringList names;
    for (int i = 0; i < box->count(); ++i)
        names << box->itemText(i);
    ASSERT_FALSE(names.isEmpty());
    QStringList sorted = names;
    sorted.sort(Qt::CaseInsensitive);
    EXPECT_EQ(names, sorted);
    QStringList once = names;
    once.removeDuplicates();
    EXPECT_EQ(once, names) << "each family once";
    // every family is there by its name alone, whichever foundries make it
    for (const QString& family : QFontDatabase::families()) {
        const QString name = family.section(QStringLiteral(" ["), 0, 0);
        EXPECT_TRUE(names.contains(name)) << family.toStdString();
    }
    for (const QString& name : names)
        EXPECT_FALSE(name.contains(QChar('['))) << name.toStdString();

    QAbstractItemView* list = box->view();
    ASSERT_TRUE(list->isVisible());
    int longest = 0;
    for (const QString& name : names)
        longest = std::max(longest, list->fontMetrics().horizontalAdvance(name));
    EXPECT_GE(list->viewport()->width(), longest) << "no name elided";
    box->hidePopup();
}

TEST_F(FontToolbarTest, SizeBoxTakesDigitsOnlyAndAppliesWholeNumbers)
{
    bar->SetComponent(label);
    bar->FontSizeBox->SetText("abc");
    bar->FontSizeBox->DoEnter();
    bar->FontSizeBox->DoEnter();
    const QStringList sizes = {"8", "9", "10", "11", "12", "14", "16", "18",
                               "20", "22", "24", "26", "28", "36", "48", "72"};
    ASSERT_EQ(bar->FontSizeBox->Items()->Count(), 16);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(bar->FontSizeBox->Items()->Strings(i), sizes[i]);
    EXPECT_EQ(bar->FontSizeBox->Text(), "abc") << "entering keeps the text";

    // keys typed into the box's edit field, as a user types them
    bar->Show();
    auto* sizeBox = qobject_cast<QComboBox*>(bar->FontSizeBox->Widget());
    ASSERT_NE(sizeBox, nullptr);
    // the edit field hands its focus to the box, so keys arrive at the box
    ASSERT_EQ(sizeBox->lineEdit()->focusProxy(), sizeBox);
    sizeBox->lineEdit()->clear();
    for (QChar c : QString("1a 3.x")) {
        QKeyEvent press(QEvent::KeyPress, c.toUpper().unicode(), Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(sizeBox, &press);
    }
    EXPECT_EQ(sizeBox->lineEdit()->text(), "13");
    EXPECT_EQ(bar->FontSizeBox->Text(), "13");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(QChar(13)));
    QCoreApplication::sendEvent(sizeBox, &enter);
    EXPECT_EQ(label->Font()->Size(), 13);
    EXPECT_EQ(sizeBox->count(), 16) << "Enter applies the size and adds nothing to the list";
    EXPECT_EQ(bar->FontSizeBox->Items()->Count(), 16);

    for (QChar c : QString("a -.x"))
        EXPECT_EQ(Type(bar->FontSizeBox, c), QChar(0)) << QString(c).toStdString();
    for (QChar c : QString("0912"))
        EXPECT_EQ(Type(bar->FontSizeBox, c), c);
    EXPECT_EQ(Type(bar->FontSizeBox, QChar(8)), QChar(8));

    bar->FontSizeBox->SetText("17");
    EXPECT_EQ(Type(bar->FontSizeBox, QChar(13)), QChar(13));
    EXPECT_EQ(label->Font()->Size(), 17);

    bar->FontSizeBox->ChooseItem(sizes.indexOf("14"));
    EXPECT_EQ(label->Font()->Size(), 14);

    bar->FontSizeBox->SetText("9");
    bar->FontSizeBox->DoExit();
    EXPECT_EQ(label->Font()->Size(), 9);

    bar->FontSizeBox->SetText("");
    bar->FontSizeBox->DoExit();
    EXPECT_EQ(label->Font()->Size(), 9);
    EXPECT_EQ(bar->FontSizeBox->Text(), "9");

    // a click on the box's arrow opens the list and applies nothing
    bar->FontSizeBox->SetText("20");
    const QPoint arrow(sizeBox->width() - 5, sizeBox->height() / 2);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent click(type, arrow, sizeBox->mapToGlobal(arrow), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(sizeBox, &click);
    }
    sizeBox->hidePopup();
    EXPECT_EQ(label->Font()->Size(), 9);

    bar->FontSizeBox->SetText("99999999999");
    bar->FontSizeBox->DoExit();
    EXPECT_EQ(label->Font()->Size(), 9);
    EXPECT_EQ(bar->FontSizeBox->Text(), "9");

    // pasted text is read with the integer syntax: blanks before, a sign, "$" hex
    bar->FontSizeBox->SetText(" $10");
    bar->FontSizeBox->DoExit();
    EXPECT_EQ(label->Font()->Size(), 16);
    bar->FontSizeBox->SetText("12 ");
    bar->FontSizeBox->DoExit();
    EXPECT_EQ(label->Font()->Size(), 16);
    EXPECT_EQ(bar->FontSizeBox->Text(), "16");
    bar->FontSizeBox->SetText("0");
    EXPECT_EQ(Type(bar->FontSizeBox, QChar(13)), QChar(13));
    EXPECT_EQ(label->Font()->Size(), 0) << "no range check";
}

TEST_F(FontToolbarTest, StyleFrameAndAlignmentButtonsActOnTheElement)
{
    label->Font()->SetStyle({fsBold, fsItalic});
    label->Frame()->SetDrawLeft(true);
    bar->SetComponent(label);

    bar->BoldButton->Click();
    EXPECT_EQ(label->Font()->Style(), TFontStyles({fsItalic}));
    EXPECT_FALSE(bar->BoldButton->Down());
    bar->UnderlineButton->Click();
    EXPECT_EQ(label->Font()->Style(), TFontStyles({fsItalic, fsUnderline}));
    EXPECT_TRUE(bar->UnderlineButton->Down());

    bar->FrameTopButton->Click();
    EXPECT_TRUE(label->Frame()->DrawLeft());
    EXPECT_TRUE(label->Frame()->DrawTop());
    EXPECT_TRUE(bar->FrameTopButton->Down());
    bar->FrameLeftButton->Click();
    EXPECT_FALSE(label->Frame()->DrawLeft());
    EXPECT_FALSE(bar->FrameLeftButton->Down());

    label->SetAutoSize(true);
    bar->AlignCenterButton->Click();
    EXPECT_EQ(label->Alignment(), taCenter);
    EXPECT_FALSE(label->AutoSize());
    EXPECT_TRUE(bar->AlignCenterButton->Down());
    bar->AlignRightButton->Click();
    EXPECT_EQ(label->Alignment(), taRightJustify);
    EXPECT_FALSE(bar->AlignCenterButton->Down());
    bar->AlignLeftButton->Click();
    EXPECT_EQ(label->Alignment(), taLeftJustify);
}

TEST_F(FontToolbarTest, ColoursChangeOnlyWhenTheDialogIsConfirmed)
{
    label->Font()->SetColor(clBlack);
    label->SetColor(clWhite);
    bar->SetComponent(label);
    const int components = bar->ComponentCount();
    {
        TModalScope cancel([](TModalRequest& r) {
            EXPECT_EQ(r.Kind, TModalKind::ColorDialog);
            static_cast<TColorDialog*>(r.Subject)->Color = clRed;
            return 0;
        });
        bar->FontColorButton->Click();
        bar->BkColorButton->Click();
    }
    EXPECT_EQ(label->Font()->Color(), clBlack);
    EXPECT_EQ(label->Color(), clWhite);
    {
        TColor preset = clNone;
        TModalScope pick([&](TModalRequest& r) {
            auto* dialog = static_cast<TColorDialog*>(r.Subject);
            preset = dialog->Color;
            dialog->Color = clNavy;
            return int(mrOk);
        });
        bar->FontColorButton->Click();
        EXPECT_EQ(preset, clBlack);
        EXPECT_FALSE(bar->FontColorButton->Down()) << "a push button";
        bar->BkColorButton->Click();
        EXPECT_EQ(preset, clWhite);
    }
    EXPECT_EQ(label->Font()->Color(), clNavy);
    EXPECT_EQ(label->Color(), clNavy);
    EXPECT_EQ(bar->ComponentCount(), components) << "the dialogs are freed";
}

TEST_F(FontToolbarTest, AutosizeSwitchesTextElementsAndLeavesImagesAlone)
{
    label->SetAutoSize(false);
    label->SetSize(QRectF(0, 0, 300, 40));
    bar->SetComponent(label);
    EXPECT_FALSE(bar->AutoSizeButton->Down());
    bar->AutoSizeButton->Click();
    EXPECT_TRUE(label->AutoSize());
    EXPECT_TRUE(bar->AutoSizeButton->Down());
    EXPECT_EQ(label->Size(), QRectF(0, 0, 300, 40)) << "the flag alone changes; the size follows the next text";
    label->SetCaption("Customers");
    EXPECT_LT(label->Size().width(), 300);

    auto* image = NewElement<TQRImage>();
    image->SetAutoSize(true);
    const QRectF size = image->Size();
    bar->SetComponent(image);
    EXPECT_FALSE(bar->AutoSizeButton->Down());
    bar->AutoSizeButton->Click();
    EXPECT_TRUE(image->AutoSize());
    EXPECT_EQ(image->Size(), size);
    EXPECT_FALSE(bar->AutoSizeButton->Down());
    EXPECT_TRUE(label->AutoSize());
}

TEST_F(FontToolbarTest, AFreedElementIsNeverTouched)
{
    bar->SetComponent(label);
    label->Free();
    label = nullptr;
    EXPECT_EQ(bar->Component, nullptr);
    TModalScope fail([](TModalRequest&) -> int {
        ADD_FAILURE() << "no dialog without an element";
        return 0;
    });
    for (TSpeedButton* b : {bar->BoldButton, bar->AlignCenterButton, bar->FontColorButton, bar->BkColorButton,
                            bar->FrameTopButton, bar->AutoSizeButton})
        b->Click();
    bar->FontNameBox->SetText("Arial");
    bar->FontNameBox->DoExit();
    bar->FontSizeBox->SetText("12");
    bar->FontSizeBox->DoExit();
}

TEST_F(FontToolbarTest, Screenshot)
{
    label->Font()->SetName("Arial");
    label->Font()->SetStyle({fsBold});
    label->Frame()->SetDrawBottom(true);
    bar->SetComponent(label);
    Screenshot(bar, "font_toolbar");
}

}  // namespace
