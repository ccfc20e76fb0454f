// The designer control's construction, layout, scrolling and destruction.
#include "DesignerHost.h"
#include "classes/Published.h"

#include <QDir>

namespace {

// Learns of a component's end by free notification.
class TWitness : public TComponent {
    VK_CLASS(TWitness, TComponent)
public:
    void Watch(TComponent* c) { c->FreeNotification(this); }
    void Notification(TComponent* c, TOperation op) override
    {
        TComponent::Notification(c, op);
        if (op == opRemove)
            Gone.push_back(c);
    }
    bool SawGo(TComponent* c) const { return std::find(Gone.begin(), Gone.end(), c) != Gone.end(); }
    std::vector<TComponent*> Gone;
};
VK_PUBLISHED(TWitness) {}

// A host's own designer control that hears every selection first.
class TOwnDesigner : public TVornak {
    VK_CLASS(TOwnDesigner, TVornak)
public:
    void SetSelectedComponent(TControl* element) override
    {
        Heard.push_back(element);
        TVornak::SetSelectedComponent(element);
    }
    std::vector<TControl*> Heard;
};
VK_PUBLISHED(TOwnDesigner) {}

std::vector<TControl*> StandardToolbars(TVornak* v)
{
    return {v->QuickRepToolbar, v->BandToolbar, v->CustomLabelToolbar, v->RichToolbar, v->ExprToolbar, v->ShapeToolbar};
}

}  // namespace

TEST(DesignerControl, NewControlHasItsShapeToolbarsAndEmptyState)
{
    TVornak* v = New<TVornak>(nullptr);
    EXPECT_EQ(v->Width(), 250);
    EXPECT_EQ(v->Height(), 200);
    EXPECT_EQ(v->ToolbarPanel->Height(), 93);
    EXPECT_EQ(v->ToolbarPanel->Font()->Name(), "Arial");
    EXPECT_EQ(v->FileName, "Untitled");
    EXPECT_FALSE(v->Editing());
    EXPECT_EQ(v->Active(), nullptr);
    EXPECT_EQ(v->BasePanel(), nullptr);
    EXPECT_EQ(ReportForm->Owner(), v);
    EXPECT_EQ(ReportForm->ComponentCount(), 0);
    for (TControl* toolbar : StandardToolbars(v)) {
        EXPECT_FALSE(toolbar->Visible()) << toolbar->ClassName().toStdString();
        EXPECT_EQ(toolbar->Parent(), v->ToolbarPanel);
        EXPECT_EQ(toolbar->Top(), toolbar == v->ExprToolbar ? 32 : 1);
    }
    EXPECT_EQ(v->LabelBar(), v->ExprToolbar);
    EXPECT_EQ(v->FontBar(), v->CustomLabelToolbar);
    EXPECT_EQ(v->FrameBar(), v->BandToolbar);
    EXPECT_EQ(v->ShapeBar(), v->ShapeToolbar);
    EXPECT_EQ(v->ImpBar(), v->QuickRepToolbar);
    EXPECT_EQ(v->SysBar(), v->RichToolbar);
    EXPECT_EQ(v->VertScrollBar->Max(), 1123);
    EXPECT_EQ(v->HorzScrollBar->Max(), 794);
    EXPECT_EQ(v->VertScrollBar->Kind(), sbVertical);
    EXPECT_EQ(v->DataSetNames->Count(), 0);
    EXPECT_THROW(v->dtset(0), EListError);
    // the scroll bars' alignment streams under its lower-case name
    EXPECT_NE(Tnewcroll::ClassInfo()->FindProperty("align"), nullptr);
    EXPECT_NE(TVornak::ClassInfo()->FindProperty("OnSelectComponent"), nullptr);
    v->Free();
}

TEST(DesignerControl, LayoutFillsTheControlAndLeavesTheCornerEmpty)
{
    THost host;
    host.Resize(400, 300);
    TVornak* v = host.Vornak;
    const int W = v->ClientWidth(), H = v->ClientHeight(), bar = v->VertScrollBar->Width();
    EXPECT_EQ(v->ReportPanel->BoundsRect(), QRect(0, 93, W - bar, H - 16 - 93));
    EXPECT_EQ(v->HorzScrollBar->BoundsRect(), QRect(0, H - 16, W - bar, 16));
    EXPECT_EQ(v->VertScrollBar->BoundsRect(), QRect(W - bar, 93, bar, H - 16 - 93));
    for (TControl* c : std::initializer_list<TControl*>{v->ReportPanel, v->HorzScrollBar, v->VertScrollBar})
        EXPECT_EQ(c->Align(), alNone);

    // a new height alone leaves the toolbar panel's size, so nothing moves
    const QRect panel = v->ReportPanel->BoundsRect();
    v->SetHeight(360);
    EXPECT_EQ(v->ReportPanel->BoundsRect(), panel);
    // a new width resizes the toolbar panel, whose notification lays out again
    v->SetWidth(500);
    EXPECT_EQ(v->ReportPanel->BoundsRect(), QRect(0, 93, 500 - bar, 360 - 16 - 93));
    EXPECT_EQ(v->HorzScrollBar->BoundsRect(), QRect(0, 360 - 16, 500 - bar, 16));
    // the hosts' own call after the notification's run shortens the bar only once
    v->res(nullptr);
    EXPECT_EQ(v->HorzScrollBar->Width(), 500 - bar);
}

TEST(DesignerControl, ScrollBarsMoveTheReportAfterTheyMoved)
{
    THost host;
    host.Resize(400, 300);
    TVornak* v = host.Vornak;
    v->VertScrollBar->Scroll(scLineDown, 30);  // no report: nothing to move
    host.NewReport();
    TQuickRep* report = v->Report();
    v->VertScrollBar->SetPosition(0);
    v->VertScrollBar->Scroll(scTrack, 600);
    EXPECT_EQ(report->Top(), 0);  // one step behind while the user drags
    v->VertScrollBar->Scroll(scBottom, 1123);
    v->VertScrollBar->Scroll(scEndScroll, 1123);
    EXPECT_EQ(report->Top(), -1123);
    v->HorzScrollBar->Scroll(scPageDown, 30);
    v->HorzScrollBar->Scroll(scEndScroll, 30);
    EXPECT_EQ(report->Left(), -30);
}

TEST(DesignerControl, DestroyingTheControlTakesHostPanelsAndTheReportAlong)
{
    TWitness* witness = New<TWitness>(nullptr);
    TForm* reportHost = New<TForm>(Application);
    TQuickRep* hostReport = New<TQuickRep>(reportHost);
    witness->Watch(reportHost);
    witness->Watch(hostReport);
    TPanel* labelPanel = nullptr;
    {
        THost host;
        labelPanel = New<TPanel>(host.Form);
        host.Vornak->SetLabel(labelPanel);
        witness->Watch(labelPanel);
        witness->Watch(host.ButtonBar);
        host.Vornak->OpenQrform(reportHost);
        EXPECT_EQ(hostReport->Parent(), host.Vornak->ReportPanel);
        host.Vornak->Free();
        EXPECT_TRUE(witness->SawGo(labelPanel));
        EXPECT_TRUE(witness->SawGo(hostReport));
        // the base panel stays where the host put it
        EXPECT_FALSE(witness->SawGo(host.ButtonBar));
        EXPECT_EQ(host.ButtonBar->Parent(), host.Form);
    }
#ifdef VK_DEMO_BUILD
    // the demo build also frees the form it edited
    EXPECT_TRUE(witness->SawGo(reportHost));
#else
    EXPECT_FALSE(witness->SawGo(reportHost));
    EXPECT_EQ(reportHost->ComponentCount(), 0);
    reportHost->Free();
#endif
    witness->Free();
}

TEST(DesignerControl, HostFormDestroyedBeforeTheControlIsNotFreedAgain)
{
    TForm* reportHost = New<TForm>(Application);
    New<TQuickRep>(reportHost);
    THost host;
    host.Vornak->OpenQrform(reportHost);
    reportHost->Free();
    EXPECT_EQ(ReportForm, nullptr);
    EXPECT_FALSE(host.Vornak->Editing());
    // the control goes on with a form of its own
    host.Vornak->NewReport();
    EXPECT_EQ(host.Vornak->Report()->Owner(), ReportForm);
    host.Vornak->Free();  // the sanitizers see a second free of the host's form
}

TEST(DesignerControl, ControlsShareTheReportFormOfTheLastOneBuilt)
{
    THost first;
    TVornak* second = New<TVornak>(first.Form);
    EXPECT_EQ(ReportForm->Owner(), second);
    first.NewReport();
    EXPECT_EQ(first.Vornak->Report()->Owner(), ReportForm);
    // the form goes with its control, and the report on it
    second->Free();
    EXPECT_EQ(ReportForm, nullptr);
    EXPECT_FALSE(first.Vornak->Editing());
    EXPECT_EQ(first.Vornak->Active(), nullptr);
    first.NewReport();
    EXPECT_EQ(ReportForm->Owner(), first.Vornak);
    EXPECT_EQ(first.Vornak->Report()->Owner(), ReportForm);
}

TEST(DesignerControl, ADescendantHearsTheSelections)
{
    TForm* form = New<TForm>(Application);
    auto* own = New<TOwnDesigner>(form);
    own->SetParent(form);
    own->NewReport();
    ASSERT_EQ(own->Heard.size(), 1u);
    EXPECT_EQ(own->Heard[0], own->Report());
    EXPECT_EQ(own->Active(), own->Report());
    form->Free();
}
