#pragma once
// Forms, data modules, the screen and the application object.
#include "controls/ExtCtrls.h"
#include "controls/StdCtrls.h"
#include "qt/Dispatch.h"

#include <exception>

VK_ENUM(TFormBorderStyle, bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin)
VK_ENUM(TPosition, poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
        poMainFormCenter, poOwnerFormCenter)
VK_ENUM(TBorderIcon, biSystemMenu, biMinimize, biMaximize, biHelp)
using TBorderIcons = TSet<TBorderIcon>;
VK_ENUM(TWindowState, wsNormal, wsMinimized, wsMaximized)
VK_ENUM(TCloseAction, caNone, caHide, caFree, caMinimize)
VK_ENUM(TFormStyle, fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop)
using TCloseEvent = TEvent<TObject*, TCloseAction&>;
using TCloseQueryEvent = TEvent<TObject*, bool&>;

class TCustomForm : public TWinControl, public TWindowHost {
    VK_CLASS(TCustomForm, TWinControl)
public:
    void Create(TComponent* owner) override;
    void Destroy() override;
    // Builds the form from a form resource (an object stream): its components
    // are created, its published fields and event handlers bound, then
    // OnCreate runs. Form classes call this from their Create.
    void InitFromResource(const QByteArray& resource);

    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle v);
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons v);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition v);
    TWindowState WindowState() const { return windowState_; }
    void SetWindowState(TWindowState v);
    TFormStyle FormStyle = fsNormal;
    TWinControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(TWinControl* control);
    bool Scaled = true;
    int PixelsPerInch = 96;
    int TextHeight = 13;
    // The form's OnKeyDown, OnKeyPress and OnKeyUp see every key before the
    // focused control does.
    bool KeyPreview = false;
    bool PreviewsKeys() const override { return KeyPreview; }
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) override;  // while modal, a result other than mrNone closes the form

    void Show();
    void Close() override;
    int ShowModal();  // through the modal seam; returns the modal result
    bool IsModal() const { return modal_; }
    bool Active() const;

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnActivate;    // every time the form becomes the active window again
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TNotifyEvent OnPaint;

    // The window told the form it became active / was asked to close.
    void Activate();
    void Deactivate();
    bool CloseQuery();
    // A key the focused control left: Enter presses the focused button, else
    // the default button; Escape presses the cancel button. True when pressed.
    bool DialogKey(TWinControl* focused, int key) override;

    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;
    TComponent* GetChildOwner() override { return this; }
    bool HasParent() const override { return false; }

protected:
    QWidget* CreateWidget() override;
    void SyncWidget() override;
    bool WindowEvent(QEvent* event) override;
    bool IsTopLevel() const override { return Parent() == nullptr; }
    void Notification(TComponent* component, TOperation operation) override;

private:
    int RunModalLoop();
    void AnswerModal(std::exception_ptr& failure);
    bool CloseModal();  // OnCloseQuery and OnClose; false keeps the form open
    void PlaceWindow();
    TFormBorderStyle borderStyle_ = bsSizeable;
    TBorderIcons borderIcons_ = {biSystemMenu, biMinimize, biMaximize};
    TPosition position_ = poDesigned;
    TWindowState windowState_ = wsNormal;
    TWinControl* activeControl_ = nullptr;
    int modalResult_ = mrNone;
    bool modal_ = false;
    bool active_ = false;
    class QEventLoop* modalLoop_ = nullptr;
};

class TForm : public TCustomForm {
    VK_CLASS(TForm, TCustomForm)
};

// A non-visual container for components; never shown.
class TDataModule : public TComponent {
    VK_CLASS(TDataModule, TComponent)
public:
    void Create(TComponent* owner) override;
    void Destroy() override;
    void InitFromResource(const QByteArray& resource);
    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;
    TComponent* GetChildOwner() override { return this; }
};

class TScreen : public TComponent {
    VK_CLASS(TScreen, TComponent)
public:
    int FormCount() const { return static_cast<int>(forms_.size()); }
    TCustomForm* Forms(int index) const;
    int DataModuleCount() const { return static_cast<int>(dataModules_.size()); }
    TDataModule* DataModules(int index) const;
    int GetDataModuleCount() const { return DataModuleCount(); }
    TDataModule* GetDataModule(int index) const { return DataModules(index); }
    TCustomForm* ActiveForm() const;
    QStringList Fonts() const;
    int Width() const;
    int Height() const;
    int PixelsPerInch() const { return 96; }
    TCursor Cursor = crDefault;

    void AddForm(TCustomForm* form);
    void RemoveForm(TCustomForm* form);
    void AddDataModule(TDataModule* module);
    void RemoveDataModule(TDataModule* module);

private:
    std::vector<TCustomForm*> forms_;
    std::vector<TDataModule*> dataModules_;
};

using TExceptionEvent = TEvent<TObject*, const std::exception&>;

// The application: while it lives, an exception that escapes an event
// handler goes to its HandleException.
class TApplication : public TComponent {
    VK_CLASS(TApplication, TComponent)
public:
    void Create(TComponent* owner) override;
    void Destroy() override;
    void Initialize();
    // Creates a form of the class; the first one created is the main form.
    TComponent* CreateForm(TClass formClass);
    template <class T>
    T* CreateForm(T*& ref)
    {
        ref = static_cast<T*>(CreateForm(T::ClassInfo()));
        return ref;
    }
    TCustomForm* MainForm() const { return mainForm_; }
    // Shows the main form and runs the message loop until it closes; then
    // frees the forms, the last created first.
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }
    void ProcessMessages();
    // The default handler: shows the exception's message in a message box.
    void HandleException(const std::exception& e);
    QString Title;
    TExceptionEvent OnException;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TCustomForm* mainForm_ = nullptr;
    std::vector<TComponent*> created_;
    bool terminated_ = false;
};

// The form a control sits on (through its parents); nil when there is none.
TCustomForm* GetParentForm(const TControl* control);

extern TApplication* Application;
extern TScreen* Screen;
