// Texts wider than the box of the control that shows them: a caption ends
// inside its box, clear of the next control; a combo box's list drops down
// wide enough for its longest item.
#include "TextInk.h"
#include "WidgetTest.h"
#include "controls/StdCtrls.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST_F(WidgetTest, ACaptionWiderThanItsBoxEndsInsideIt)
{
    auto* label = Add<TLabel>();
    label->SetAutoSize(false);
    label->SetBounds(8, 8, 50, 17);
    label->SetCaption("A caption wider than its box");
    auto* edit = Add<TEdit>();
    edit->SetBounds(58, 4, 80, 21);
    auto* right = Add<TLabel>();
    right->SetAutoSize(false);
    right->SetAlignment(taRightJustify);
    right->SetBounds(8, 40, 50, 17);
    right->SetCaption("Right aligned and too wide");
    auto* box = Add<TCheckBox>();
    box->SetBounds(8, 70, 60, 17);
    box->SetCaption("A check box caption too wide");
    auto* button = Add<TButton>();
    button->SetBounds(68, 66, 60, 25);
    auto* fits = Add<TCheckBox>();
    fits->SetBounds(8, 100, 97, 17);
    fits->SetCaption("Fits");
    const QImage image = form->Grab();
    SaveScreenshot(image, "wide_captions");
    for (TControl* control : std::initializer_list<TControl*>{label, right, box, fits}) {
        const QRect r = control->BoundsRect();
        const int ink = LastInkColumn(image, r);
        EXPECT_GT(ink, r.left() + 20) << control->Caption().toStdString() << ": the caption shows";
        EXPECT_LT(ink, r.right()) << control->Caption().toStdString() << ": clear of the next control";
    }
    EXPECT_EQ(box->Widget()->property("text").toString(), "A check box caption too wide") << "only the drawing is shortened";
}

TEST_F(WidgetTest, ACaptionThatFitsIsDrawnWhole)
{
    auto* label = Add<TLabel>();
    for (const QString caption : {"Bands", "Amount of the order", "Then when the condition is true, else Else"}) {
        label->SetAutoSize(true);
        label->SetCaption(caption);
        const QImage fitted = label->Grab();
        label->SetAutoSize(false);
        label->SetWidth(label->Width() + 20);
        EXPECT_TRUE(fitted == label->Grab().copy(fitted.rect())) << caption.toStdString() << ": as in a wider box";
    }
}

TEST_F(WidgetTest, AComboBoxListDropsDownWideEnoughForItsLongestItem)
{
    auto* combo = Add<TComboBox>();
    combo->SetWidth(60);
    const QString longest = QStringLiteral("A rather long item of the list");
    combo->OnDropDown = TNotifyEvent([&](TObject*) {
        // the handler fills the list just before it opens
        for (const QString& item : {QStringLiteral("Short"), longest, QStringLiteral("Medium item")})
            combo->Items()->Add(item);
    });
    auto* box = static_cast<QComboBox*>(combo->Widget());
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() - 5, box->height() / 2));
    QAbstractItemView* list = box->view();
    ASSERT_TRUE(list->isVisible());
    EXPECT_GE(list->viewport()->width(), list->fontMetrics().horizontalAdvance(longest));
    EXPECT_GE(list->visualRect(box->model()->index(1, 0)).width(), list->sizeHintForColumn(0)) << "not elided";
    box->hidePopup();
}

}  // namespace
