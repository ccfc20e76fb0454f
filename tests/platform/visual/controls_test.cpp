// The control model: alignment, resize notifications, destruction, and the
// behaviour of the standard controls' events.
#include "classes/Published.h"
#include "controls/Buttons.h"
#include "controls/ExtCtrls.h"
#include "controls/StdCtrls.h"
#include "forms/Forms.h"
#include "EventCount.h"

#include <QApplication>
#include <QComboBox>
#include <QPointer>
#include <QEvent>
#include <gtest/gtest.h>

namespace {

// A windowed parent of a known client size with children made on demand.
class AlignTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host = New<TPanel>(nullptr);
        host->SetBevelOuter(bvNone);
        host->SetBounds(0, 0, 200, 100);
    }
    void TearDown() override { host->Free(); }
    TPanel* Child(TAlign align, QRect bounds)
    {
        auto* c = New<TPanel>(host);
        c->SetBounds(bounds.x(), bounds.y(), bounds.width(), bounds.height());
        c->SetParent(host);
        c->SetAlign(align);
        return c;
    }
    TPanel* host = nullptr;
};

// A control made by owner and shown inside parent.
template <class T>
T* Placed(TComponent* owner, TWinControl* parent)
{
    auto* control = New<T>(owner);
    control->SetParent(parent);
    return control;
}

}  // namespace

TEST_F(AlignTest, EachAlignmentTakesItsSideOfWhatTheEarlierOnesLeft)
{
    struct Case {
        TAlign align;
        QRect start;
        QRect expected;
    };
    // added in an order other than the one alignment uses: client first, top last
    const Case cases[] = {
        {alClient, {5, 5, 10, 10}, {30, 20, 150, 70}},
        {alRight, {150, 0, 20, 10}, {180, 20, 20, 70}},
        {alLeft, {0, 0, 30, 10}, {0, 20, 30, 70}},
        {alBottom, {0, 50, 10, 10}, {0, 90, 200, 10}},
        {alTop, {0, 0, 10, 20}, {0, 0, 200, 20}},
    };
    std::vector<TPanel*> made;
    for (const Case& c : cases)
        made.push_back(Child(c.align, c.start));
    for (size_t i = 0; i < made.size(); ++i)
        EXPECT_EQ(made[i]->BoundsRect(), cases[i].expected) << i;

    // a new client size aligns again
    host->SetBounds(0, 0, 300, 200);
    EXPECT_EQ(made[0]->BoundsRect(), QRect(30, 20, 250, 170));
    EXPECT_EQ(made[3]->BoundsRect(), QRect(0, 190, 300, 10));
}

TEST_F(AlignTest, ControlsOfOneAlignmentStackByPosition)
{
    host->DisableAlign();
    TPanel* lower = Child(alTop, {0, 50, 10, 10});
    TPanel* upper = Child(alTop, {0, 5, 10, 20});
    TPanel* bottomInner = Child(alBottom, {0, 60, 10, 10});
    TPanel* bottomOuter = Child(alBottom, {0, 95, 10, 5});
    host->EnableAlign();
    EXPECT_EQ(upper->Top(), 0);
    EXPECT_EQ(lower->Top(), 20);
    EXPECT_EQ(bottomOuter->Top(), 95);
    EXPECT_EQ(bottomInner->Top(), 85);
    // a taller top control pushes the one below it
    upper->SetHeight(30);
    EXPECT_EQ(lower->Top(), 30);
}

TEST_F(AlignTest, SwitchedOffOrHiddenControlsAndNestedParents)
{
    TPanel* top = Child(alTop, {0, 0, 10, 20});
    TPanel* client = Child(alClient, {0, 0, 10, 10});
    top->SetVisible(false);
    EXPECT_EQ(client->BoundsRect(), QRect(0, 0, 200, 100)) << "a hidden control takes no space";
    top->SetVisible(true);
    EXPECT_EQ(client->BoundsRect(), QRect(0, 20, 200, 80));

    // released from alignment, a control gives its place back to the others
    top->SetAlign(alNone);
    EXPECT_EQ(client->BoundsRect(), QRect(0, 0, 200, 100));
    top->SetAlign(alTop);

    // released from alignment, the control keeps its bounds through later changes
    client->SetAlign(alNone);
    host->SetBounds(0, 0, 400, 300);
    EXPECT_EQ(client->BoundsRect(), QRect(0, 20, 200, 80));
    EXPECT_EQ(top->Width(), 400);

    // a child aligned inside an aligned child follows its parent's size
    auto* inner = Placed<TPanel>(host, top);
    inner->SetAlign(alRight);
    inner->SetWidth(50);
    EXPECT_EQ(inner->BoundsRect(), QRect(349, 1, 50, 18)) << "inside the raised bevel";
    host->SetWidth(500);
    EXPECT_EQ(inner->Left(), 449);
}

TEST_F(AlignTest, ResizeNotificationOnlyOnRealSizeChanges)
{
    TPanel* panel = Child(alNone, {0, 0, 50, 50});
    int resizes = 0;
    panel->OnResize = TNotifyEvent([&](TObject*) { ++resizes; });
    panel->SetBounds(10, 10, 50, 50);  // moved, same size
    panel->SetBounds(10, 10, 50, 50);  // nothing
    EXPECT_EQ(resizes, 0);
    panel->SetWidth(60);
    EXPECT_EQ(resizes, 1);
    panel->SetAlign(alTop);  // alignment changes its width and height
    EXPECT_EQ(resizes, 2);
    host->SetHeight(150);  // a top control keeps its size when only the height changes
    EXPECT_EQ(resizes, 2);
}

TEST(ControlLife, DestroyingAParentDestroysTheControlsItShowsWhoeverOwnsThem)
{
    auto* owner = New<TComponent>(nullptr);
    auto* parent = New<TPanel>(nullptr);
    auto* shown = Placed<TPanel>(owner, parent);  // owned elsewhere
    Placed<TEdit>(owner, shown);
    auto* watcher = New<TComponent>(nullptr);
    shown->FreeNotification(watcher);
    parent->Free();
    // the owner no longer lists them; the sanitizers see no double free
    EXPECT_EQ(owner->ComponentCount(), 0);
    owner->Free();
    watcher->Free();
}

TEST(ControlLife, AControlThatGoesTakesItsWidgetAlongInsteadOfOutOfTheWindow)
{
    // taking each widget out of a shown window walks all of the window's
    // widgets: freeing a parent of many children would cost their square
    TEventCount changes(QEvent::ParentChange);
    auto* form = New<TForm>(nullptr);
    auto* panel = Placed<TPanel>(form, form);
    std::vector<TControl*> children;
    for (int i = 0; i < 3; ++i) {
        children.push_back(Placed<TLabel>(form, panel));
        children.back()->Widget()->installEventFilter(&changes);
    }
    form->Show();
    children[0]->Free();
    panel->Free();
    EXPECT_EQ(changes.Count, 0);
    EXPECT_EQ(form->ComponentCount(), 0);
    form->Free();
}

TEST(ControlLife, FreeingAShownParentRepaintsItsPlaceOnceAndHidesNoWindowInside)
{
    // each child window hidden or destroyed in a shown window would add its
    // piece to what the window repaints, a region growing with every piece
    TEventCount insideHides(QEvent::Hide), aroundPaints(QEvent::Paint);
    auto* form = New<TForm>(nullptr);
    form->SetBounds(0, 0, 200, 150);
    auto* panel = New<TPanel>(form);
    panel->SetBounds(10, 10, 120, 100);
    panel->SetParent(form);
    auto* nested = Placed<TPanel>(form, panel);
    std::vector<QPointer<QWidget>> windows{nested->Widget()};
    for (TWinControl* parent : {static_cast<TWinControl*>(panel), static_cast<TWinControl*>(nested)}) {
        auto* label = Placed<TLabel>(form, parent);
        windows.push_back(label->Widget());
    }
    for (QWidget* window : windows)
        window->installEventFilter(&insideHides);
    form->Widget()->installEventFilter(&aroundPaints);
    form->Show();
    QApplication::processEvents();
    aroundPaints.Count = 0;

    panel->Free();
    QApplication::processEvents();
    EXPECT_EQ(insideHides.Count, 0);
    for (const QPointer<QWidget>& window : windows)
        EXPECT_TRUE(window.isNull());
    EXPECT_GT(aroundPaints.Count, 0);  // where the panel was
    EXPECT_EQ(form->ComponentCount(), 0);
    form->Free();
}

// The windows show the model's colours; controls of one look share a palette,
// which one control's change must not carry to the others.
TEST(ControlLook, EachWindowShowsItsOwnControlsColours)
{
    auto* form = New<TForm>(nullptr);
    auto* panel = Placed<TPanel>(form, form);
    auto* first = Placed<TLabel>(form, panel);
    auto* second = Placed<TLabel>(form, panel);
    const auto colours = [](const TControl* c) {
        const QPalette p = c->Widget()->palette();
        return std::pair{p.color(QPalette::Window), p.color(QPalette::WindowText)};
    };
    EXPECT_EQ(colours(first), colours(second));
    first->SetColor(clYellow);
    first->Font()->SetColor(clRed);
    EXPECT_EQ(colours(first), std::pair(QColor(Qt::yellow), QColor(Qt::red)));
    EXPECT_EQ(colours(second).first, ColorToQColor(second->Color()));
    EXPECT_EQ(colours(second).second, ColorToQColor(second->Font()->Color()));
    second->SetColor(clYellow);
    EXPECT_EQ(colours(second).first, QColor(Qt::yellow));
    EXPECT_EQ(colours(second).second, ColorToQColor(second->Font()->Color()));
    EXPECT_EQ(colours(first).second, QColor(Qt::red));

    // a windowed control fills its background, a graphic one shows its parent's
    auto* button = Placed<TSpeedButton>(form, panel);
    EXPECT_TRUE(panel->Widget()->autoFillBackground());
    EXPECT_FALSE(button->Widget()->autoFillBackground());
    form->Free();
}

TEST(ControlLook, AHintSetAgainIsNoChangeTheWindowHearsOf)
{
    TEventCount changes(QEvent::ToolTipChange);
    auto* form = New<TForm>(nullptr);
    auto* first = Placed<TPanel>(form, form);
    auto* second = Placed<TPanel>(form, form);
    auto* label = Placed<TLabel>(form, first);
    label->SetShowHint(true);
    label->SetHint("tip");
    label->Widget()->installEventFilter(&changes);
    label->SetParent(second);
    label->SetHint("tip");
    EXPECT_EQ(changes.Count, 0);
    label->SetShowHint(false);
    EXPECT_EQ(changes.Count, 1);
    EXPECT_TRUE(label->Widget()->toolTip().isEmpty());
    form->Free();
}

namespace {
// Counts the font changes it goes through.
class TFontCounter : public TLabel {
    VK_CLASS(TFontCounter, TLabel)
public:
    int Changes = 0;

protected:
    void FontChanged() override
    {
        ++Changes;
        inherited::FontChanged();
    }
};
}  // namespace
VK_PUBLISHED(TFontCounter) {}

TEST(ControlLife, AControlMovedBetweenParentsOfOneFontKeepsItsFont)
{
    // a report moved out of the designer to be saved and back takes every
    // element along: each would go through a round of font changes
    auto* form = New<TForm>(nullptr);
    auto* first = Placed<TPanel>(form, form);
    auto* second = Placed<TPanel>(form, form);
    auto* group = Placed<TPanel>(form, first);
    auto* label = Placed<TFontCounter>(form, group);
    form->Show();
    const int before = label->Changes;
    group->SetParent(second);
    group->SetParent(first);
    EXPECT_EQ(label->Changes, before);

    second->Font()->SetSize(20);  // a parent of another font still hands it down
    group->SetParent(second);
    EXPECT_EQ(label->Font()->Size(), 20);
    EXPECT_EQ(label->Widget()->font(), label->Font()->ToQFont());
    EXPECT_EQ(label->Changes, before + 1);
    form->Free();
}

TEST(ControlLife, FreeingAChildLeavesItsParentsListAndRealigns)
{
    auto* parent = New<TPanel>(nullptr);
    parent->SetBevelOuter(bvNone);
    auto* top = Placed<TPanel>(parent, parent);
    top->SetAlign(alTop);
    auto* client = Placed<TPanel>(parent, parent);
    client->SetAlign(alClient);
    top->Free();
    ASSERT_EQ(parent->ControlCount(), 1);
    EXPECT_EQ(client->Top(), 0);
    EXPECT_THROW(parent->Controls(1), EListError);
    parent->Free();
}

namespace {

// Empties the memo that owns it when it goes, as a link to data would.
class TMemoEmptier : public TComponent {
    VK_CLASS(TMemoEmptier, TComponent)
public:
    void Destroy() override
    {
        Memo->Lines()->Clear();
        inherited::Destroy();
    }
    TMemo* Memo = nullptr;
};

}  // namespace

VK_PUBLISHED(TMemoEmptier) {}

TEST(ControlLife, AMemoWhoseLinesChangeAsItGoesIsFreedCleanly)
{
    auto* memo = New<TMemo>(nullptr);
    memo->Lines()->SetText("abc");
    New<TMemoEmptier>(memo)->Memo = memo;
    memo->Free();  // the lines change after the memo's window went
}

TEST(ScrollBarTest, KindSwapsWidthAndHeightAndScrollNotifiesBeforeTakingThePosition)
{
    auto* bar = New<TScrollBar>(nullptr);
    EXPECT_EQ(bar->BoundsRect(), QRect(0, 0, 121, 16));
    bar->SetKind(sbVertical);
    EXPECT_EQ(bar->BoundsRect(), QRect(0, 0, 16, 121));
    bar->SetKind(sbVertical);
    EXPECT_EQ(bar->Width(), 16) << "the same kind again swaps nothing";

    std::vector<std::tuple<TScrollCode, int, int>> seen;  // code, new position, position at the time
    bar->OnScroll = TScrollEvent([&](TObject*, TScrollCode code, int& pos) {
        seen.emplace_back(code, pos, bar->Position());
        if (code == scLineDown)
            pos += 1;  // the handler may change where the bar lands
    });
    bar->Scroll(scLineDown, 10);
    bar->Scroll(scEndScroll, bar->Position());
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], std::make_tuple(scLineDown, 10, 0));
    EXPECT_EQ(seen[1], std::make_tuple(scEndScroll, 11, 11));
    bar->Scroll(scTrack, 500);
    EXPECT_EQ(bar->Position(), 100) << "clamped to Max";
    EXPECT_THROW(bar->SetMin(200), EInvalidOperation);
    bar->Free();
}

TEST(CheckBoxTest, SettingCheckedFiresOnClickOnlyWhenTheStateChanges)
{
    auto* box = New<TCheckBox>(nullptr);
    EXPECT_EQ(box->BoundsRect(), QRect(0, 0, 97, 17));
    std::vector<bool> clicks;
    box->OnClick = TNotifyEvent([&](TObject*) { clicks.push_back(box->Checked()); });
    box->SetChecked(true);
    box->SetChecked(true);
    box->SetState(cbGrayed);
    box->SetChecked(false);
    EXPECT_EQ(clicks, (std::vector<bool>{true, false, false}));
    box->Free();
}

namespace {

struct SpeedButtonGroup : ::testing::Test {
    void SetUp() override
    {
        parent = New<TPanel>(nullptr);
        for (auto*& b : buttons) {
            b = Placed<TSpeedButton>(parent, parent);
            b->SetGroupIndex(1);
            b->OnClick = TNotifyEvent([this](TObject*) { ++clicks; });
        }
    }
    void TearDown() override { parent->Free(); }
    std::vector<bool> Downs() const { return {buttons[0]->Down(), buttons[1]->Down(), buttons[2]->Down()}; }
    TPanel* parent = nullptr;
    TSpeedButton* buttons[3] = {};
    int clicks = 0;
};

}  // namespace

TEST_F(SpeedButtonGroup, ButtonsOfAGroupReleaseEachOther)
{
    EXPECT_EQ(buttons[0]->BoundsRect(), QRect(0, 0, 25, 25));
    buttons[0]->Click();
    buttons[2]->Click();
    EXPECT_EQ(Downs(), (std::vector<bool>{false, false, true}));
    buttons[2]->Click();  // without AllowAllUp the down one stays down
    EXPECT_EQ(Downs(), (std::vector<bool>{false, false, true}));
    EXPECT_EQ(clicks, 3);

    buttons[0]->SetAllowAllUp(true);  // the group agrees
    buttons[2]->Click();
    EXPECT_EQ(Downs(), (std::vector<bool>{false, false, false}));

    // from code: same rules, no events
    buttons[1]->SetDown(true);
    EXPECT_EQ(clicks, 4);
    EXPECT_EQ(Downs(), (std::vector<bool>{false, true, false}));
}

TEST_F(SpeedButtonGroup, OtherGroupsParentsAndUngroupedButtonsAreLeftAlone)
{
    auto* otherParent = Placed<TPanel>(parent, parent);
    auto* elsewhere = Placed<TSpeedButton>(parent, otherParent);
    elsewhere->SetGroupIndex(1);
    auto* plain = Placed<TSpeedButton>(parent, parent);
    elsewhere->SetDown(true);
    buttons[0]->SetDown(true);
    plain->Click();
    EXPECT_TRUE(elsewhere->Down());
    EXPECT_TRUE(buttons[0]->Down());
    EXPECT_FALSE(plain->Down()) << "an ungrouped button never stays down";

    // a press and release over the button is a click
    buttons[1]->MouseDown(mbLeft, {}, 3, 3);
    buttons[1]->MouseUp(mbLeft, {}, 3, 3);
    EXPECT_TRUE(buttons[1]->Down());
    buttons[2]->MouseDown(mbLeft, {}, 3, 3);
    buttons[2]->MouseUp(mbLeft, {}, 40, 3);  // released outside
    EXPECT_FALSE(buttons[2]->Down());
}

TEST(TextControls, OnChangeOnlyOnRealChange)
{
    auto* edit = New<TEdit>(nullptr);
    EXPECT_EQ(edit->Width(), 121);
    int changes = 0;
    edit->OnChange = TNotifyEvent([&](TObject*) { ++changes; });
    edit->SetText(QStringLiteral("abc"));
    edit->SetText(QStringLiteral("abc"));
    EXPECT_EQ(changes, 1);
    edit->Free();

    auto* memo = New<TMemo>(nullptr);
    int memoChanges = 0;
    memo->OnChange = TNotifyEvent([&](TObject*) { ++memoChanges; });
    memo->Lines()->Add(QStringLiteral("one"));
    memo->Lines()->Add(QStringLiteral("two"));
    EXPECT_EQ(memoChanges, 2);
    EXPECT_EQ(memo->Lines()->Count(), 2);
    memo->Free();
}

TEST(ComboBoxTest, ChoosingTypingAndDroppingDown)
{
    auto* combo = New<TComboBox>(nullptr);
    combo->Items()->Add(QStringLiteral("Arial"));
    combo->Items()->Add(QStringLiteral("Courier New"));
    std::vector<QString> events;
    combo->OnChange = TNotifyEvent([&](TObject*) { events.push_back("change " + combo->Text()); });
    combo->OnClick = TNotifyEvent([&](TObject*) { events.push_back("click " + combo->Text()); });
    combo->OnDropDown = TNotifyEvent([&](TObject*) { events.push_back("dropdown"); });

    combo->ChooseItem(1);
    combo->ChooseItem(1);  // the same item again: a click, no change
    combo->SetItemIndex(0);  // from code: the text follows silently
    combo->SetText(QStringLiteral("Arial"));
    combo->SetText(QStringLiteral("Tahoma"));
    EXPECT_EQ(combo->ItemIndex(), -1) << "a typed text matches no chosen item";
    static_cast<QComboBox*>(combo->Widget())->showPopup();
    static_cast<QComboBox*>(combo->Widget())->hidePopup();
    EXPECT_EQ(events, (std::vector<QString>{"change Courier New", "click Courier New", "click Courier New",
                                            "change Tahoma", "dropdown"}));

    // the list is the items; clearing it keeps the text
    combo->Items()->Clear();
    EXPECT_EQ(static_cast<QComboBox*>(combo->Widget())->count(), 0);
    EXPECT_EQ(combo->Text(), QStringLiteral("Tahoma"));
    combo->Free();
}

TEST(PanelTest, DefaultsAndTheBevelInsetOfAlignment)
{
    auto* panel = New<TPanel>(nullptr);
    EXPECT_EQ(panel->BoundsRect(), QRect(0, 0, 185, 41));
    EXPECT_EQ(panel->BevelOuter(), bvRaised);
    EXPECT_TRUE(panel->Visible());
    EXPECT_TRUE(panel->Enabled());
    EXPECT_EQ(panel->Color(), clBtnFace);
    panel->SetBevelInner(bvLowered);
    panel->SetBorderWidth(2);
    EXPECT_EQ(panel->AlignRect(), QRect(4, 4, 177, 33));
    panel->Free();
}
