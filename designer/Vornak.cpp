// The designer control: construction, destruction, layout, scrolling, the
// selection handler and the toolbar slots. The report lifecycle is in
// VornakReports.cpp.
#include "designer/Vornak.h"
#include "designer/DemoBuild.h"
#include "designer/VornakMain.h"
#include "classes/Published.h"
#include "dialogs/Dialogs.h"
#include "engine/Bands.h"
#include "engine/Designer.h"
#include "engine/Printables.h"
#include "engine/QuickRep.h"
#include "rtl/ScopeExit.h"

TForm* ReportForm = nullptr;

VK_PUBLISHED(Tnewcroll)
{
    c.Prop("align", &TControl::Align, &TControl::SetAlign).Default(alNone);
}

VK_PUBLISHED(TVornak)
{
    c.Prop("Align", &TControl::Align, &TControl::SetAlign).Default(alNone);
    c.Prop("OnNewReport", &TVornak::OnNewReport);
    c.Prop("OnOpenReport", &TVornak::OnOpenReport);
    c.Prop("OnCloseReport", &TVornak::OnCloseReport);
    c.Prop("OnSaveReport", &TVornak::OnSaveReport);
    c.Prop("OnSelectComponent", &TVornak::OnSelectComponent);
}

namespace {
const QString kUntitled = QStringLiteral("Untitled");

// Clears each member that refers to the component that goes.
template <class... T>
void ClearIfGone(const TComponent* gone, T*&... members)
{
    ((members = static_cast<const TComponent*>(members) == gone ? nullptr : members), ...);
}

template <class T>
bool IsA(const TObject* object)
{
    return object && object->InheritsFrom(T::ClassInfo());
}

// Creates a standard toolbar on the toolbar panel, empty and at the given top.
template <class T>
T* NewToolbar(TVornak* owner, TPanel* panel)
{
    T* toolbar = New<T>(owner);
    toolbar->SetParent(panel);
    toolbar->SetComponent(nullptr);
    toolbar->SetTop(1);
    return toolbar;
}
}  // namespace

void TVornak::Create(TComponent* owner)
{
    TCustomControl::Create(owner);
    Designer = New<TQRDesigner>(this);
    // through the virtual slot, so a descendant's override hears the selections
    Designer->SetOnSelectComponent(TQRSelectEvent([this](TControl* element) { SetSelectedComponent(element); }));
    SetHeight(200);
    SetWidth(250);

    ToolbarPanel = New<TPanel>(this);
    ToolbarPanel->SetParent(this);
    ToolbarPanel->SetAlign(alTop);
    ToolbarPanel->SetHeight(93);
    ToolbarPanel->SetCaption(QString());
    ToolbarPanel->ControlStyle = ToolbarPanel->ControlStyle - TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents};
    ToolbarPanel->SetBevelInner(bvNone);
    ToolbarPanel->SetBevelOuter(bvNone);
    ToolbarPanel->Font()->SetName(QStringLiteral("Arial"));
    ToolbarPanel->OnResize = TNotifyEvent(this, &TVornak::res);

    VertScrollBar = New<Tnewcroll>(this);
    VertScrollBar->SetParent(this);
    VertScrollBar->SetKind(sbVertical);
    VertScrollBar->SetMax(1123);
    VertScrollBar->SetHeight(16);
    VertScrollBar->SetLargeChange(30);
    VertScrollBar->SetSmallChange(30);
    VertScrollBar->OnScroll = TScrollEvent(this, &TVornak::vertscroll);

    HorzScrollBar = New<Tnewcroll>(this);
    HorzScrollBar->SetParent(this);
    HorzScrollBar->SetHeight(16);
    HorzScrollBar->SetKind(sbHorizontal);
    HorzScrollBar->SetMax(794);
    HorzScrollBar->SetLargeChange(30);
    HorzScrollBar->SetSmallChange(30);
    HorzScrollBar->OnScroll = TScrollEvent(this, &TVornak::horscroll);

    ReportPanel = New<TPanel>(this);
    ReportPanel->SetParent(this);
    ReportPanel->SetTop(91);
    ReportPanel->SetBevelOuter(bvLowered);
    ReportPanel->OnResize = TNotifyEvent(this, &TVornak::res);

    InitButtons();
    ReportForm = New<TForm>(this);
    Watch(ReportForm);

    QuickRepToolbar = NewToolbar<TQuickRepToolbar>(this, ToolbarPanel);
    BandToolbar = NewToolbar<TQRCustomBandToolbar>(this, ToolbarPanel);
    CustomLabelToolbar = NewToolbar<TQRCustomLabelToolbar>(this, ToolbarPanel);
    RichToolbar = NewToolbar<TQRRich>(this, ToolbarPanel);
    ExprToolbar = NewToolbar<TQRExprToolbar>(this, ToolbarPanel);
    // stacked below the font toolbar, with which it is shown
    ExprToolbar->SetTop(CustomLabelToolbar->Top() + CustomLabelToolbar->Height() + 1);
    ShapeToolbar = NewToolbar<TQRShapeToolbar>(this, ToolbarPanel);

    FileName = kUntitled;

    labelBar_ = ExprToolbar;
    fontBar_ = CustomLabelToolbar;
    frameBar_ = BandToolbar;
    shapeBar_ = ShapeToolbar;
    impBar_ = QuickRepToolbar;
    sysBar_ = RichToolbar;
}

void TVornak::Destroy()
{
    // from here on the notifications of what goes only clear references
    ComponentState.Include(csDestroying);
    Designer->StopEdit();
    FreeAndNil(Designer);
    if constexpr (kDemoBuild)
        FreeAndNil(ReportForm);  // a form the host destroyed first has already cleared the variable
    FreeAndNil(RichToolbar);
    FreeAndNil(ToolbarPanel);
    FreeAndNil(ReportPanel);
    // the form the constructor made goes with the owned components, after the
    // control has stopped hearing of ends: the other controls must not find it
    if (ReportForm && ReportForm->Owner() == this)
        ReportForm = nullptr;
    TCustomControl::Destroy();
}

void TVornak::Watch(TComponent* component)
{
    if (component)
        component->FreeNotification(this);
}

void TVornak::Notification(TComponent* component, TOperation operation)
{
    TCustomControl::Notification(component, operation);
    if (operation == opRemove)
        ClearReference(component);
}

void TVornak::ClearReference(TComponent* component)
{
    ClearIfGone(component, Designer, ToolbarPanel, QuickRepToolbar, BandToolbar, CustomLabelToolbar, RichToolbar,
                ExprToolbar, ShapeToolbar, ReportPanel, VertScrollBar, HorzScrollBar, basePanel_, labelBar_, fontBar_,
                shapeBar_, frameBar_, impBar_, sysBar_, active_);
    if (component == ReportForm)
        ReportForm = nullptr;
    // (the toolbars themselves forget an element that goes)
    if (component == report_) {
        report_ = nullptr;
        if (!IsDestroying())
            ForgetSelection();
    }
}

std::vector<TNewQrToolbar*> TVornak::StandardToolbars() const
{
    std::vector<TNewQrToolbar*> toolbars;
    for (TNewQrToolbar* toolbar : std::initializer_list<TNewQrToolbar*>{QuickRepToolbar, BandToolbar, CustomLabelToolbar,
                                                                         RichToolbar, ExprToolbar, ShapeToolbar})
        if (toolbar)
            toolbars.push_back(toolbar);
    return toolbars;
}

// ---- layout and scrolling

// The panels' notifications that come while the control aligns them after
// its own size change would be undone by that alignment: they run after it.
void TVornak::Resize()
{
    {
        resizing_ = true;
        TScopeExit done([this] { resizing_ = false; });
        TCustomControl::Resize();
    }
    if (resPending_) {
        resPending_ = false;
        res(this);
    }
}

void TVornak::res(TObject*)
{
    if (resizing_) {
        resPending_ = true;
        return;
    }
    // resizing the report panel below notifies this very handler again
    if (layingOut_)
        return;
    layingOut_ = true;
    struct TDone {
        bool& flag;
        ~TDone() { flag = false; }
    } done{layingOut_};
    VertScrollBar->SetAlign(alRight);
    HorzScrollBar->SetAlign(alBottom);
    ReportPanel->SetAlign(alClient);
    ReportPanel->SetAlign(alNone);
    VertScrollBar->SetAlign(alNone);
    HorzScrollBar->SetAlign(alNone);
    HorzScrollBar->SetWidth(HorzScrollBar->Width() - VertScrollBar->Width());
}

// Both read the bar's own position, which the bar takes only after notifying.
void TVornak::horscroll(TObject*, TScrollCode, int&)
{
    if (report_)
        report_->SetLeft(-HorzScrollBar->Position());
}

void TVornak::vertscroll(TObject*, TScrollCode, int&)
{
    if (report_)
        report_->SetTop(-VertScrollBar->Position());
}

// ---- selection

void TVornak::ShowSlot(TControl* slot, bool visible)
{
    if (!slot)
        return;
    slot->SetVisible(visible);
    if (visible)
        StackShownSlots();
}

// The toolbar panel stacks its top-aligned slots by where they stood before;
// the slots shown together must not swap places with what was selected
// before, so they stand in the order in which a selection shows them: the
// report's, the band's, the shape's, then the text element's, the font's and
// the label's.
void TVornak::StackShownSlots()
{
    ToolbarPanel->DisableAlign();
    int top = 0;
    for (TControl* slot : {impBar_, frameBar_, shapeBar_, sysBar_, fontBar_, labelBar_}) {
        if (!slot || !slot->Visible() || slot->Align() != alTop || slot->Parent() != ToolbarPanel)
            continue;
        slot->SetTop(top);
        top += slot->Height();
    }
    ToolbarPanel->EnableAlign();
}

void TVornak::HandTo(TNewQrToolbar* toolbar, TControl* element)
{
    if (toolbar)
        toolbar->SetComponent(element);
}

// The system-data slot's standard toolbar first, then the font toolbar.
void TVornak::HandToTextToolbars(TControl* element)
{
    HandTo(RichToolbar, element);
    HandTo(CustomLabelToolbar, element);
}

void TVornak::SetSelectedComponent(TControl* element)
{
    if (element == Designer->Selected())
        return;
    RichToolbar->Hide();
    if (basePanel_)
        basePanel_->Show();
    ShowSlot(impBar_, IsA<TQuickRep>(element));
    ShowSlot(frameBar_, IsA<TQRCustomBand>(element));
    ShowSlot(fontBar_, false);
    ShowSlot(labelBar_, false);
    const bool label = IsA<TQRLabel>(element);
    ShowSlot(fontBar_, label);
    ShowSlot(labelBar_, label);
    ShowSlot(shapeBar_, IsA<TQRShape>(element));

    if (label) {
        ShowSlot(fontBar_, true);
        ShowSlot(labelBar_, true);
        HandTo(ExprToolbar, element);
        HandTo(CustomLabelToolbar, element);
    }
    if (IsA<TQuickRep>(element) && impBar_ == QuickRepToolbar)
        HandTo(QuickRepToolbar, element);
    else
        SetActive(element);

    if (IsA<TQRSysData>(element) || IsA<TQRMemo>(element) || IsA<TQRImage>(element)) {
        ShowSlot(sysBar_, true);
        ShowSlot(fontBar_, true);
        const bool standardSys = sysBar_ == RichToolbar;
        for (TClass textClass : {TQRImage::ClassInfo(), TQRSysData::ClassInfo()}) {
            if (element->InheritsFrom(textClass) && standardSys)
                HandToTextToolbars(element);
            else
                SetActive(element);
        }
        if (IsA<TQRMemo>(element) && standardSys) {
            HandToTextToolbars(element);
            // a memo without lines opens the text editor at once
            if (static_cast<TQRMemo*>(element)->Lines()->Count() == 0)
                RichToolbar->showform();
        } else {
            SetActive(element);
        }
    }

    if (IsA<TQRCustomBand>(element) && frameBar_ == BandToolbar)
        HandTo(BandToolbar, element);
    else
        SetActive(element);

    if (IsA<TQRExpr>(element) && CustomLabelToolbar && fontBar_ == CustomLabelToolbar && labelBar_ == ExprToolbar) {
        ShowSlot(fontBar_, true);
        ShowSlot(labelBar_, true);
        HandTo(ExprToolbar, element);
        HandTo(CustomLabelToolbar, element);
    } else {
        SetActive(element);
    }

    if (IsA<TQRShape>(element) && shapeBar_ == ShapeToolbar)
        HandTo(ShapeToolbar, element);
    else
        SetActive(element);

    FireEvent(OnSelectComponent);
}

void TVornak::SetActive(TControl* element)
{
    active_ = element;
    Watch(element);
}

// The report went without a successor: nothing may act on its elements.
void TVornak::ForgetSelection()
{
    for (TControl* slot : {impBar_, frameBar_, fontBar_, labelBar_, shapeBar_, sysBar_})
        ShowSlot(slot, false);
    for (TNewQrToolbar* toolbar : StandardToolbars())
        toolbar->SetComponent(nullptr);
    active_ = nullptr;
}

void TVornak::FireEvent(const TNotifyEvent& event)
{
    if (event)
        event(this);
}

// ---- slots

void TVornak::SetBase(TControl* panel)
{
    if (!panel)
        return;
    basePanel_ = panel;
    Watch(panel);
}

void TVornak::SetImp(TControl* panel)
{
    PutInSlot(impBar_, panel, TSlotPlace::BelowBase, "The editor is not able to use this component");
}

void TVornak::SetFont(TControl* panel)
{
    PutInSlot(fontBar_, panel, TSlotPlace::BelowBase,
              "The editor is not able to use this component in place of standard FONT PANEL");
}

void TVornak::SetLabel(TControl* panel)
{
    PutInSlot(labelBar_, panel, TSlotPlace::AlignTop,
              "The editor is not able to use this component in place of standard CUSTOM LABEL TOOLBAR");
}

void TVornak::SetFrame(TControl* panel)
{
    PutInSlot(frameBar_, panel, TSlotPlace::Origin,
              "The editor is not able to use this component in place of standard FRAME PANEL");
}

void TVornak::SetShape(TControl* panel)
{
    PutInSlot(shapeBar_, panel, TSlotPlace::Origin,
              "The editor is not able to use this component in place of standard SHAPE PANEL");
}

void TVornak::setsys(TControl* panel)
{
    PutInSlot(sysBar_, panel, TSlotPlace::Origin,
              "The editor is not able to use this component in place of standard SYS PANEL");
}

void TVornak::PutInSlot(TControl*& slot, TControl* panel, TSlotPlace place, const char* message)
{
    if (!panel)
        return;
    slot = panel;
    Watch(panel);
    try {
        if (&slot == &fontBar_)
            FreeAndNil(CustomLabelToolbar);
        panel->SetParent(ToolbarPanel);
        panel->Show();
        PlacePanel(panel, place);
    } catch (const std::exception&) {
        MessageBox(QString::fromLatin1(message), Application ? Application->Title : QString());
    }
}

void TVornak::PlacePanel(TControl* panel, TSlotPlace place)
{
    switch (place) {
    case TSlotPlace::BelowBase:
        // the base panel's place in the host window, used inside the toolbar panel
        if (!basePanel_)
            throw EInvalidOperation(QStringLiteral("No base panel to place the panel below"));
        panel->SetTop(basePanel_->Top() + basePanel_->Height() + 1);
        break;
    case TSlotPlace::AlignTop:
        panel->SetAlign(alTop);
        break;
    case TSlotPlace::Origin:
        panel->SetTop(0);
        break;
    }
    panel->SetLeft(0);
}
