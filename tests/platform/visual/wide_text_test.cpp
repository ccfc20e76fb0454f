// Texts wider than the box of the control that shows them: a combo box's
// list drops down wide enough for its longest item.
#include "controls/StdCtrls.h"
#include "forms/Forms.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QTest>
#include <gtest/gtest.h>

namespace {

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
