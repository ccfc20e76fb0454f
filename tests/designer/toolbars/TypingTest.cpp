// Typing into the middle of the toolbars' text boxes, key by key on a shown
// toolbar: the text, the cursor and undo stay as the keys made them.
#include "KeyboardDriver.h"
#include "ToolbarFixture.h"
#include "designer/toolbars/ExprToolbar.h"
#include "designer/toolbars/FontToolbar.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

class ToolbarTypingTest : public ToolbarTest {
protected:
    void SetUp() override
    {
        ToolbarTest::SetUp();
        label = NewElement<TQRLabel>();
        label->SetCaption("Total");
        label->Font()->SetSize(10);
        host->Show();
    }
    TQRLabel* label = nullptr;
};

TEST_F(ToolbarTypingTest, TheExpressionBoxKeepsTheCursorAndUndo)
{
    auto* bar = NewToolbar<TQRExprToolbar>();
    bar->SetComponent(label);
    bar->Show();
    auto* box = static_cast<QLineEdit*>(bar->Edit->Widget());
    FocusOn(box);
    CursorAfter(box, 2);
    QTest::keyClicks(box, "ZW");
    EXPECT_EQ(box->text(), "ToZWtal");
    EXPECT_EQ(box->cursorPosition(), 4);
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(label->Caption(), "ToZWtal");
    Undo(box);
    EXPECT_EQ(bar->Edit->Text(), "Total");
}

TEST_F(ToolbarTypingTest, TheFontSizeBoxKeepsTheCursorAndUndo)
{
    auto* bar = NewToolbar<TQRCustomLabelToolbar>();
    bar->SetComponent(label);
    bar->Show();
    auto* box = static_cast<QComboBox*>(bar->FontSizeBox->Widget());
    FocusOn(box);
    ASSERT_EQ(bar->FontSizeBox->Items()->Count(), 16) << "entering the box filled its list";
    CursorAfter(box, 0);
    QTest::keyClicks(box, "2x3");
    EXPECT_EQ(box->currentText(), "2310");
    EXPECT_EQ(box->lineEdit()->cursorPosition(), 2);
    // Ctrl+Z's control character is one the box swallows; the history the edit's own Undo uses stays
    ASSERT_TRUE(box->lineEdit()->isUndoAvailable());
    box->lineEdit()->undo();
    EXPECT_EQ(bar->FontSizeBox->Text(), "10");
    QTest::keyClick(box, Qt::Key_End);
    QTest::keyClicks(box, "3");
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(label->Font()->Size(), 103);
    EXPECT_EQ(bar->FontSizeBox->Text(), "103") << "Enter keeps the typed size in the box";
    EXPECT_EQ(bar->FontSizeBox->Items()->Count(), 16);
}

}  // namespace
