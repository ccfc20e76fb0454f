// Selections made with the mouse on a report in the control, and the toolbar
// slots with host panels in them.
#include "DesignerHost.h"
#include "ScreenCheck.h"

#include <QDir>

namespace {

struct TSelection : ::testing::Test {
    void SetUp() override
    {
        host.Resize(544, 345);
        host.NewReport();
        host.RecordEvents();
    }
    TVornak* V() const { return host.Vornak; }
    // The slots shown, by their standard toolbar's role.
    QStringList Shown() const
    {
        QStringList shown;
        const std::pair<const char*, TControl*> bars[] = {{"imp", V()->ImpBar()},     {"frame", V()->FrameBar()},
                                                           {"font", V()->FontBar()},   {"label", V()->LabelBar()},
                                                           {"shape", V()->ShapeBar()}, {"sys", V()->SysBar()}};
        for (auto [name, slot] : bars)
            if (slot && slot->Visible())
                shown << name;
        return shown;
    }
    THost host;
};

}  // namespace

TEST_F(TSelection, EachElementKindShowsItsToolbarsAndHandsThemTheElement)
{
    TControl* label = host.Place(TQRLabel::ClassInfo());
    TControl* shape = host.Place(TQRShape::ClassInfo());
    TControl* sys = host.Place(TQRSysData::ClassInfo(), rbDetail);
    TControl* image = host.Place(TQRImage::ClassInfo(), rbDetail);
    TControl* expr = host.Place(TQRExpr::ClassInfo(), rbDetail);
    TQRCustomBand* band = host.Band(rbTitle);
    host.Events.clear();

    THost::Click(label);
    EXPECT_EQ(Shown(), QStringList({"font", "label"}));
    EXPECT_EQ(V()->ExprToolbar->Component, label);
    EXPECT_EQ(V()->CustomLabelToolbar->Component, label);
    // the expression toolbar stacks below the font toolbar
    EXPECT_GT(V()->ExprToolbar->Top(), V()->CustomLabelToolbar->Top());
    EXPECT_EQ(V()->Active(), label);

    THost::Click(V()->Report());
    EXPECT_EQ(Shown(), QStringList({"imp"}));
    EXPECT_EQ(V()->QuickRepToolbar->Component, V()->Report());
    EXPECT_TRUE(host.ButtonBar->Visible());

    THost::Click(band);
    EXPECT_EQ(Shown(), QStringList({"frame"}));
    EXPECT_EQ(V()->BandToolbar->Component, band);
    THost::Click(shape);
    EXPECT_EQ(Shown(), QStringList({"shape"}));
    EXPECT_EQ(V()->ShapeToolbar->Component, shape);
    for (TControl* text : {sys, image}) {
        THost::Click(text);
        EXPECT_EQ(Shown(), QStringList({"font", "sys"}));
        EXPECT_EQ(V()->RichToolbar->Component, text);
        EXPECT_EQ(V()->CustomLabelToolbar->Component, text);
    }
    THost::Click(expr);
    EXPECT_EQ(Shown(), QStringList({"font", "label"}));
    EXPECT_EQ(V()->ExprToolbar->Component, expr);
    EXPECT_EQ(V()->Active(), expr);
    EXPECT_EQ(host.Events.count("select"), 7);

    // the selected element again: nothing changes, no event
    host.Events.clear();
    V()->SetSelectedComponent(expr);
    THost::Click(expr);
    EXPECT_TRUE(host.Events.isEmpty());
    EXPECT_EQ(Shown(), QStringList({"font", "label"}));

    // elements without a toolbar, and nil, show none but are still selected
    for (TClass cls : {TQRDBText::ClassInfo(), TQRDBImage::ClassInfo()}) {
        TControl* element = host.Place(cls);
        THost::Click(element);
        EXPECT_TRUE(Shown().isEmpty());
        EXPECT_EQ(V()->Active(), element);
    }
    V()->SetSelectedComponent(nullptr);
    EXPECT_EQ(V()->Active(), nullptr);
    EXPECT_EQ(host.Events, QStringList({"select", "select", "select"}));

    // SetActive changes only the member
    V()->SetActive(label);
    EXPECT_EQ(V()->Active(), label);
    EXPECT_EQ(host.Events.size(), 3);
    EXPECT_TRUE(Shown().isEmpty());
}

TEST_F(TSelection, AMemoWithoutLinesOpensTheTextEditorAtOnce)
{
    auto* empty = static_cast<TQRMemo*>(host.Place(TQRMemo::ClassInfo()));
    auto* oneLine = static_cast<TQRMemo*>(host.Place(TQRMemo::ClassInfo()));
    empty->Lines()->Clear();
    oneLine->Lines()->Clear();
    oneLine->Lines()->Add(QString());
    TModalLog modal;
    THost::Click(oneLine);
    EXPECT_TRUE(modal.Requests.empty());
    EXPECT_EQ(Shown(), QStringList({"font", "sys"}));
    THost::Click(empty);
    ASSERT_EQ(modal.Requests.size(), 1u);
    EXPECT_EQ(modal.Requests[0].Kind, TModalKind::Form);
    EXPECT_EQ(modal.Requests[0].Caption, "Text editor");
    EXPECT_EQ(host.Events.back(), "select");  // the event follows the dialog
}

TEST_F(TSelection, HostPanelsTakeTheirSlots)
{
    // as the Casvel window does: its caption panel in place of the label toolbar
    TPanel* captionPanel = New<TPanel>(host.Form);
    V()->SetLabel(captionPanel);
    EXPECT_EQ(captionPanel->Parent(), V()->ToolbarPanel);
    EXPECT_EQ(captionPanel->Align(), alTop);
    captionPanel->Hide();
    TControl* label = host.Place(TQRLabel::ClassInfo());
    TControl* expr = host.Place(TQRExpr::ClassInfo());
    THost::Click(label);
    EXPECT_TRUE(captionPanel->Visible());
    EXPECT_TRUE(V()->CustomLabelToolbar->Visible());
    EXPECT_EQ(V()->ExprToolbar->Component, label);  // handed over whatever the slot holds
    THost::Click(expr);
    EXPECT_FALSE(captionPanel->Visible());
    EXPECT_FALSE(V()->CustomLabelToolbar->Visible());
    EXPECT_EQ(V()->Active(), expr);

    // a system panel stays visible from the call on
    TPanel* sysPanel = New<TPanel>(host.Form);
    V()->setsys(sysPanel);
    EXPECT_EQ(sysPanel->BoundsRect().topLeft(), QPoint(0, 0));
    THost::Click(host.Band(rbTitle));
    EXPECT_TRUE(sysPanel->Visible());
    TControl* image = host.Place(TQRImage::ClassInfo());
    THost::Click(image);
    EXPECT_TRUE(sysPanel->Visible());
    EXPECT_FALSE(V()->RichToolbar->Visible());
    EXPECT_NE(V()->RichToolbar->Component, image);
    // nor does an empty memo open the standard toolbar's text editor then
    auto* memo = static_cast<TQRMemo*>(host.Place(TQRMemo::ClassInfo()));
    memo->Lines()->Clear();
    {
        TModalLog modal;
        THost::Click(memo);
        EXPECT_TRUE(modal.Requests.empty());
    }
    EXPECT_EQ(V()->Active(), memo);
    EXPECT_TRUE(sysPanel->Visible());

    // a host panel the host frees leaves an empty slot behind
    sysPanel->Free();
    EXPECT_EQ(V()->SysBar(), nullptr);
    THost::Click(image);
    EXPECT_EQ(V()->Active(), image);
}

TEST_F(TSelection, FontPanelReplacesTheStandardFontToolbarForGood)
{
    TPanel* fontPanel = New<TPanel>(host.Form);
    V()->SetFont(fontPanel);
    EXPECT_EQ(V()->CustomLabelToolbar, nullptr);
    EXPECT_EQ(fontPanel->Top(), host.ButtonBar->Top() + host.ButtonBar->Height() + 1);
    TControl* label = host.Place(TQRLabel::ClassInfo());
    TControl* memo = host.Place(TQRMemo::ClassInfo());
    static_cast<TQRMemo*>(memo)->Lines()->Add("x");
    TControl* expr = host.Place(TQRExpr::ClassInfo());
    THost::Click(label);
    EXPECT_EQ(Shown(), QStringList({"font", "label"}));
    THost::Click(memo);
    EXPECT_EQ(Shown(), QStringList({"font", "sys"}));
    THost::Click(expr);
    EXPECT_TRUE(Shown().isEmpty());
}

TEST_F(TSelection, FailedSettersKeepWhatTheyDidAndSay)
{
    TModalLog modal(mrOk);
    TForm* bare = New<TForm>(Application);
    TPanel* panel = New<TPanel>(bare);
    TVornak* fresh = New<TVornak>(bare);
    fresh->SetParent(bare);
    fresh->SetImp(panel);  // no base panel recorded: nothing to place it below
    EXPECT_EQ(fresh->ImpBar(), panel);
    EXPECT_EQ(panel->Parent(), fresh->ToolbarPanel);
    EXPECT_TRUE(panel->Visible());
    EXPECT_EQ(Modal::Messages(), QStringList({"The editor is not able to use this component"}));
    bare->Free();

    // a panel that cannot sit in the toolbar panel
    Modal::ClearMessages();
    V()->SetShape(V());
    EXPECT_EQ(V()->ShapeBar(), V());
    EXPECT_EQ(Modal::Messages(),
              QStringList({"The editor is not able to use this component in place of standard SHAPE PANEL"}));

    // nil changes nothing
    TControl* before[] = {V()->ImpBar(), V()->FontBar(), V()->LabelBar(), V()->FrameBar(), V()->SysBar()};
    for (auto setter : {&TVornak::SetBase, &TVornak::SetImp, &TVornak::SetFont, &TVornak::SetLabel,
                        &TVornak::SetFrame, &TVornak::setsys})
        (V()->*setter)(nullptr);
    TControl* after[] = {V()->ImpBar(), V()->FontBar(), V()->LabelBar(), V()->FrameBar(), V()->SysBar()};
    EXPECT_TRUE(std::equal(std::begin(before), std::end(before), std::begin(after)));
    EXPECT_EQ(V()->BasePanel(), host.ButtonBar);
    EXPECT_NE(V()->CustomLabelToolbar, nullptr);
}

TEST_F(TSelection, NothingActsOnTheElementsOfAClosedReport)
{
    TControl* label = host.Place(TQRLabel::ClassInfo());
    THost::Click(label);
    V()->CloseReport();
    EXPECT_TRUE(Shown().isEmpty());
    EXPECT_EQ(V()->Active(), nullptr);
    for (TQRToolbar* toolbar : {static_cast<TQRToolbar*>(V()->ExprToolbar), static_cast<TQRToolbar*>(V()->CustomLabelToolbar)})
        EXPECT_EQ(toolbar->Component, nullptr);
    // an element freed while selected is forgotten too
    host.NewReport();
    TControl* shape = host.Place(TQRShape::ClassInfo());
    THost::Click(shape);
    shape->Free();
    EXPECT_EQ(V()->Active(), nullptr);
    EXPECT_EQ(V()->ShapeToolbar->Component, nullptr);
}

TEST_F(TSelection, RendersTheControlWithEachKindOfSelection)
{
    TControl* label = host.Place(TQRLabel::ClassInfo());
    label->SetCaption("Vornak");
    TControl* shape = host.Place(TQRShape::ClassInfo());
    shape->SetLeft(120);
    auto* memo = static_cast<TQRMemo*>(host.Place(TQRMemo::ClassInfo(), rbDetail));
    memo->Lines()->Add("memo");
    TControl* expr = host.Place(TQRExpr::ClassInfo(), rbDetail);
    expr->SetLeft(160);
    TControl* dbText = host.Place(TQRDBText::ClassInfo(), rbDetail);
    dbText->SetLeft(300);
    host.Form->Show();
    const QString dir = qEnvironmentVariable("VK_BUILD_DIR", QDir::tempPath()) + QStringLiteral("/screenshots");
    QDir().mkpath(dir);
    const std::pair<const char*, TControl*> selections[] = {
        {"report", V()->Report()}, {"band", host.Band(rbDetail)}, {"label", label}, {"shape", shape},
        {"memo", memo},            {"expr", expr},                {"dbtext", dbText}};
    for (auto [name, element] : selections) {
        THost::Click(element);
        ASSERT_EQ(V()->Active(), element) << name;
        const QImage image = host.Form->Grab();
        ASSERT_FALSE(image.isNull());
        EXPECT_TRUE(DrawnIn(image, RectIn(element, host.Form))) << name;
        EXPECT_TRUE(image.save(dir + QStringLiteral("/designer_%1_selected.png").arg(name))) << name;
    }
    // a host's caption panel in place of the label toolbar, as the Casvel window has it
    TPanel* captionPanel = New<TPanel>(host.Form);
    captionPanel->SetHeight(30);
    captionPanel->SetCaption("Host caption panel");
    V()->SetLabel(captionPanel);
    THost::Click(shape);
    THost::Click(label);
    EXPECT_TRUE(host.Form->Grab().save(dir + QStringLiteral("/designer_label_host_panel.png")));
    V()->CloseReport();
    EXPECT_TRUE(host.Form->Grab().save(dir + QStringLiteral("/designer_no_report.png")));
}
