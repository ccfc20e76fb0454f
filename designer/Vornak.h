#pragma once
// TVornak: the run-time report designer control that a host window embeds.
// Inside its own area it keeps a toolbar panel across the top (the element
// toolbars, one or two shown at a time for the selected element), a report
// panel with the report being edited, and two scroll bars that move the report
// inside the report panel. It owns the engine's designer object, which does
// the selecting, moving and placing with the mouse, and edits reports that
// live on the unit's report form (ReportForm), the root of every *.QR file.
#include "designer/VornakExport.h"
#include "classes/Owned.h"
#include "classes/StringList.h"
#include "controls/ExtCtrls.h"
#include "controls/StdCtrls.h"
#include "forms/Forms.h"

class TQRDesigner;
class TQuickRep;
class TNewQrToolbar;
class TQuickRepToolbar;
class TQRCustomBandToolbar;
class TQRCustomLabelToolbar;
class TQRRich;
class TQRExprToolbar;
class TQRShapeToolbar;

// The designer's scroll bar: a plain scroll bar whose alignment is published
// (as "align").
class VORNAK_EXPORT Tnewcroll : public TScrollBar {
    VK_CLASS(Tnewcroll, TScrollBar)
};

class VORNAK_EXPORT TVornak : public TCustomControl {
    VK_CLASS(TVornak, TCustomControl)
public:
    void Create(TComponent* owner) override;
    void Destroy() override;

    TQRDesigner* Designer = nullptr;
    TPanel* ToolbarPanel = nullptr;
    TQuickRepToolbar* QuickRepToolbar = nullptr;
    TQRCustomBandToolbar* BandToolbar = nullptr;
    TQRCustomLabelToolbar* CustomLabelToolbar = nullptr;  // nil once SetFont replaced it
    TQRRich* RichToolbar = nullptr;
    TQRExprToolbar* ExprToolbar = nullptr;
    TQRShapeToolbar* ShapeToolbar = nullptr;
    TPanel* ReportPanel = nullptr;
    Tnewcroll* VertScrollBar = nullptr;
    Tnewcroll* HorzScrollBar = nullptr;
    QString FileName;
    TNotifyEvent OnNewReport;
    TNotifyEvent OnOpenReport;
    TNotifyEvent OnCloseReport;
    TNotifyEvent OnSaveReport;
    TNotifyEvent OnSelectComponent;

    // The report being edited, nil without one.
    TQuickRep* Report() const { return report_; }
    void SetReport(TQuickRep* value);
    bool GetEditing() const { return report_ != nullptr; }
    bool Editing() const { return GetEditing(); }

    // The host's own button panel, kept visible by every selection.
    TControl* BasePanel() const { return basePanel_; }
    // The six toolbar slots: each holds its standard toolbar or a host panel.
    TControl* LabelBar() const { return labelBar_; }
    TControl* FontBar() const { return fontBar_; }
    TControl* ShapeBar() const { return shapeBar_; }
    TControl* FrameBar() const { return frameBar_; }
    TControl* ImpBar() const { return impBar_; }
    TControl* SysBar() const { return sysBar_; }
    const TOwned<TStringList> DataSetNames{new TStringList()};
    // The selected report element, nil when nothing (or the report went).
    TControl* Active() const { return active_; }

    // Layout and scrolling.
    void res(TObject* sender);
    void horscroll(TObject* sender, TScrollCode code, int& position);
    void vertscroll(TObject* sender, TScrollCode code, int& position);
    void ShowDatasetup() {}
    void InitButtons() {}
    void setblocco() {}

    // Report lifecycle.
    void NewReport();
    void CloseReport();
    void SaveReport();
    void SaveReportFile(const QString& name);
    void OpenReport();
    void OpenReportFile(const QString& name);
    void OpenQrform(TForm* form);
    void OpenQRReport(TQuickRep* report);
    void NewLabel();
    void NewImage();
    void NewMemo();
    void Newsysdata();
    void DataSetup();
    void ReportLayout();
    void blockreport();
    void sblockreport();
    QString dtset(int index) const;

    // Selection and slots.
    void SetActive(TControl* element);
    void SetBase(TControl* panel);
    void SetImp(TControl* panel);
    void SetFont(TControl* panel);
    void SetLabel(TControl* panel);
    void SetFrame(TControl* panel);
    void SetShape(TControl* panel);
    void setsys(TControl* panel);

    virtual void ClickButton() {}
    virtual void SetSelectedComponent(TControl* element);

    void Notification(TComponent* component, TOperation operation) override;

protected:
    void Resize() override;

private:
    enum class TSlotPlace { BelowBase, AlignTop, Origin };
    void Watch(TComponent* component);
    std::vector<TNewQrToolbar*> StandardToolbars() const;
    void PutInSlot(TControl*& slot, TControl* panel, TSlotPlace place, const char* message);
    void PlacePanel(TControl* panel, TSlotPlace place);
    void ShowSlot(TControl* slot, bool visible);
    void StackShownSlots();
    void HandTo(TNewQrToolbar* toolbar, TControl* element);
    void HandToTextToolbars(TControl* element);
    void ForgetSelection();
    void ClearReference(TComponent* component);
    void EmptyReportForm();
    void EnterNoReport();
    void FireEvent(const TNotifyEvent& event);
    TForm* TheReportForm();
    void AdoptFirstReport(TForm* form);

    TQuickRep* report_ = nullptr;
    TControl* basePanel_ = nullptr;
    TControl* labelBar_ = nullptr;
    TControl* fontBar_ = nullptr;
    TControl* shapeBar_ = nullptr;
    TControl* frameBar_ = nullptr;
    TControl* impBar_ = nullptr;
    TControl* sysBar_ = nullptr;
    TControl* active_ = nullptr;
    bool layingOut_ = false;
    bool resizing_ = false;   // the control is aligning its panels after a size change
    bool resPending_ = false;  // a panel's notification came meanwhile
};

// The report form of every designer control of the process: the form that
// owns the edited report and that *.QR files are written from and read into.
VORNAK_EXPORT extern TForm* ReportForm;

// Loads a layout file into a new hidden form and returns its report, or nil
// (a message tells of a file that could not be read).
VORNAK_EXPORT TQuickRep* QRLoadReport(const QString& fileName);
// Frees a report from QRLoadReport together with the form that holds it.
VORNAK_EXPORT void QRFreeReport(TQuickRep* report);
