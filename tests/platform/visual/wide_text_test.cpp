// Texts wider than the box of the control that shows them: a caption ends
// inside its box, clear of the next control; a combo box's list drops down
// wide enough for its longest item.
#include "controls/StdCtrls.h"
#include "forms/Forms.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QTest>
#include <gtest/gtest.h>

bool SaveScreenshot(const QImage& image, const QString& name);

namespace {

// The rightmost column of the area that has pixels as dark as text; -1 without any.
int LastInkColumn(const QImage& image, const QRect& area)
{
    for (int x = area.right(); x >= area.left(); --x)
        for (int y = area.top(); y <= area.bottom(); ++y)
            if (qGray(image.pixel(x, y)) < 128)
                return x;
    return -1;
}

class WideTextTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = New<TForm>(nullptr);
        form->SetBounds(10, 10, 300, 200);
        form->Show();
    }
    void TearDown() override { form->Free(); }
    template <class T>
    T* Add()
    {
        T* c = New<T>(form);
        c->SetParent(form);
        return c;
    }
    TForm* form = nullptr;
};

TEST_F(WideTextTest, ACaptionWiderThanItsBoxEndsInsideIt)
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

TEST_F(WideTextTest, AComboBoxListDropsDownWideEnoughForItsLongestItem)
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
