// Typing into the middle of a text control's text, key by key on a shown
// form: the control takes each change into its model and leaves the window's
// cursor, selection and undo history as the keys made them.
#include "KeyboardDriver.h"
#include "WidgetTest.h"
#include "classes/Published.h"
#include "controls/StdCtrls.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

namespace {

// A memo whose lines are filled before its window is made: a descendant's
// Create fills them before it calls the inherited one.
class TFilledMemo : public TMemo {
    VK_CLASS(TFilledMemo, TMemo)
public:
    void Create(TComponent* owner) override
    {
        Lines()->SetText("abc\ndef");
        inherited::Create(owner);
    }
};

}  // namespace

VK_PUBLISHED(TFilledMemo) {}

namespace {

TEST_F(WidgetTest, AnEditKeepsTheCursorSelectionAndUndoOfWhatIsTyped)
{
    auto* edit = Add<TEdit>();
    edit->SetText("CusNoXY");
    // a handler that writes the text back, as a caption box's handler does through its element
    QStringList changes;
    edit->OnChange = TNotifyEvent([&](TObject*) {
        changes << edit->Text();
        edit->SetText(edit->Text());
    });
    auto* window = static_cast<QLineEdit*>(edit->Widget());
    FocusOn(window);
    CursorAfter(window, 3);
    QTest::keyClicks(window, "ZW");
    EXPECT_EQ(window->text(), "CusZWNoXY");
    EXPECT_EQ(window->cursorPosition(), 5);
    EXPECT_EQ(edit->Text(), "CusZWNoXY");
    EXPECT_EQ(changes, QStringList({"CusZNoXY", "CusZWNoXY"}));

    // a change of the model that leaves the text alone keeps the selection
    QTest::keyClick(window, Qt::Key_Left, Qt::ShiftModifier);
    edit->SetHint("typed");
    edit->SetText("CusZWNoXY");
    EXPECT_EQ(window->selectedText(), "W");

    Undo(window);
    EXPECT_EQ(window->text(), "CusNoXY");
    EXPECT_EQ(edit->Text(), "CusNoXY") << "the undone text reaches the model";
}

TEST_F(WidgetTest, AComboBoxKeepsTheCursorAndUndoAndItsListOfWhatIsTyped)
{
    auto* combo = Add<TComboBox>();
    for (const char* size : {"8", "10", "12"})
        combo->Items()->Add(size);
    combo->SetItemIndex(1);
    auto* window = static_cast<QComboBox*>(combo->Widget());
    FocusOn(window);
    CursorAfter(window, 0);
    QTest::keyClicks(window, "23");
    EXPECT_EQ(window->currentText(), "2310");
    EXPECT_EQ(window->lineEdit()->cursorPosition(), 2);
    EXPECT_EQ(combo->Text(), "2310");
    EXPECT_EQ(combo->ItemIndex(), -1);

    // Enter takes the typed text as it is: the list is the control's
    QTest::keyClick(window, Qt::Key_Return);
    EXPECT_EQ(combo->Text(), "2310");
    EXPECT_EQ(window->count(), 3);

    Undo(window);
    EXPECT_EQ(window->currentText(), "10");
    EXPECT_EQ(combo->Text(), "10");
}

TEST_F(WidgetTest, AMemoKeepsTheCursorAndUndoOfWhatIsTyped)
{
    auto* memo = Add<TMemo>();
    memo->Lines()->SetText("abc\ndef");
    int changes = 0;
    memo->OnChange = TNotifyEvent([&](TObject*) { ++changes; });
    auto* window = static_cast<QPlainTextEdit*>(memo->Widget());
    FocusOn(window);
    QTest::keyClick(window, Qt::Key_Down);
    CursorAfter(window, 1);
    QTest::keyClicks(window, "XY");
    EXPECT_EQ(window->toPlainText(), "abc\ndXYef");
    EXPECT_EQ(window->textCursor().position(), 7);
    EXPECT_EQ(memo->Lines()->Strings(1), "dXYef");
    EXPECT_EQ(changes, 2);

    Undo(window);
    EXPECT_EQ(window->toPlainText(), "abc\ndef");
    EXPECT_EQ(memo->Lines()->Strings(1), "def");
}

TEST_F(WidgetTest, AMemoFilledBeforeItsWindowShowsTheLinesAndTakesTyping)
{
    auto* memo = Add<TFilledMemo>();
    auto* window = static_cast<QPlainTextEdit*>(memo->Widget());
    EXPECT_EQ(window->toPlainText(), "abc\ndef");
    FocusOn(window);
    QTest::keyClick(window, Qt::Key_Down);
    CursorAfter(window, 1);
    QTest::keyClicks(window, "XY");
    EXPECT_EQ(memo->Lines()->Strings(1), "dXYef");
}

}  // namespace
