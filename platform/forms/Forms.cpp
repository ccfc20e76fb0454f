#include "forms/Forms.h"
#include "classes/ComponentStream.h"
#include "classes/Published.h"
#include "controls/ControlProps.h"
#include "forms/Modal.h"
#include "qt/WidgetLink.h"
#include "rtl/ScopeExit.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFontDatabase>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

namespace cp = controlprops;

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

VK_PUBLISHED(TCustomForm) {}

VK_PUBLISHED(TForm)
{
    c.Prop("ActiveControl", &TForm::ActiveControl, &TForm::SetActiveControl);
    c.Prop("BorderIcons", &TForm::BorderIcons, &TForm::SetBorderIcons)
        .Default(TBorderIcons{biSystemMenu, biMinimize, biMaximize});
    c.Prop("BorderStyle", &TForm::BorderStyle, &TForm::SetBorderStyle).Default(bsSizeable);
    cp::Caption(c);
    c.Prop("ClientHeight", &TControl::ClientHeight, &TControl::SetClientHeight);
    c.Prop("ClientWidth", &TControl::ClientWidth, &TControl::SetClientWidth);
    cp::Color(c, clBtnFace);
    cp::Font(c);
    c.Prop("FormStyle", &TForm::FormStyle).Default(fsNormal);
    c.Prop("KeyPreview", &TForm::KeyPreview).Default(false);
    c.Prop("Position", &TForm::Position, &TForm::SetPosition).Default(poDesigned);
    c.Prop("Scaled", &TForm::Scaled).Default(true);
    c.Prop("ShowHint", &TControl::ShowHint, &TControl::SetShowHint).Default(false);
    c.Prop("Visible", &TControl::Visible, &TControl::SetVisible).Default(false);
    c.Prop("WindowState", &TForm::WindowState, &TForm::SetWindowState).Default(wsNormal);
    c.Prop("OnActivate", &TForm::OnActivate);
    cp::MouseEvents(c);
    c.Prop("OnClose", &TForm::OnClose);
    c.Prop("OnCloseQuery", &TForm::OnCloseQuery);
    c.Prop("OnCreate", &TForm::OnCreate);
    c.Prop("OnDeactivate", &TForm::OnDeactivate);
    c.Prop("OnDestroy", &TForm::OnDestroy);
    c.Prop("OnHide", &TForm::OnHide);
    c.Prop("OnKeyDown", &TWinControl::OnKeyDown);
    c.Prop("OnKeyPress", &TWinControl::OnKeyPress);
    c.Prop("OnKeyUp", &TWinControl::OnKeyUp);
    c.Prop("OnPaint", &TForm::OnPaint);
    c.Prop("OnResize", &TControl::OnResize);
    c.Prop("OnShow", &TForm::OnShow);
    c.Prop("PixelsPerInch", &TForm::PixelsPerInch);
    c.Prop("TextHeight", &TForm::TextHeight);
}

VK_PUBLISHED(TDataModule)
{
    c.Prop("OnCreate", &TDataModule::OnCreate);
    c.Prop("OnDestroy", &TDataModule::OnDestroy);
}

VK_PUBLISHED(TScreen) {}
VK_PUBLISHED(TApplication) {}

namespace {

// What a form or data module writes after its controls: the components it
// owns that no parent places.
void OwnedNonControls(TComponent* owner, const std::function<void(TComponent*)>& proc, TComponent* root)
{
    if (owner != root)
        return;
    for (int i = 0; i < owner->ComponentCount(); ++i)
        if (!owner->Components(i)->HasParent())
            proc(owner->Components(i));
}

QString MessageOf(const std::exception& e)
{
    if (auto* ex = dynamic_cast<const Exception*>(&e))
        return ex->Message();
    return QString::fromUtf8(e.what());
}

}  // namespace

TCustomForm* GetParentForm(const TControl* control)
{
    return dynamic_cast<TCustomForm*>(WindowHostOf(control));
}

// ---------------------------------------------------------------- TCustomForm

void TCustomForm::Create(TComponent* owner)
{
    inherited::Create(owner);
    SetVisible(false);
    SetBounds(0, 0, 320, 240);
    if (Screen)
        Screen->AddForm(this);
    AddGlobalRoot(this);
}

void TCustomForm::Destroy()
{
    DispatchSafely([this] { OnDestroy(this); });
    if (modalLoop_)
        modalLoop_->quit();
    if (Screen)
        Screen->RemoveForm(this);
    inherited::Destroy();
}

void TCustomForm::InitFromResource(const QByteArray& resource)
{
    ReadComponentRes(resource, this);
    DispatchSafely([this] { OnCreate(this); });
}

QWidget* TCustomForm::CreateWidget()
{
    return new QWidget(nullptr, Qt::Window);
}

void TCustomForm::SyncWidget()
{
    inherited::SyncWidget();
    QWidget* window = Widget();
    window->setWindowTitle(Caption());
    if (!IsTopLevel())
        return;
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    switch (borderStyle_) {
    case bsNone: flags = Qt::Window | Qt::FramelessWindowHint; break;
    case bsDialog: flags |= Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint; break;
    case bsToolWindow:
    case bsSizeToolWin: flags |= Qt::Tool; break;
    case bsSingle: flags |= Qt::MSWindowsFixedSizeDialogHint; break;
    default: break;
    }
    if (borderStyle_ != bsNone && borderIcons_.Contains(biSystemMenu))
        flags |= Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint;
    // dialogs and tool windows have no minimize and maximize buttons
    const bool framed = borderStyle_ == bsSizeable || borderStyle_ == bsSingle;
    if (framed && borderIcons_.Contains(biMinimize))
        flags |= Qt::WindowMinimizeButtonHint;
    if (framed && borderIcons_.Contains(biMaximize))
        flags |= Qt::WindowMaximizeButtonHint;
    if (flags != window->windowFlags()) {
        const bool shown = window->isVisible();
        window->setWindowFlags(flags);
        if (shown)
            window->show();
    }
}

void TCustomForm::SetBorderStyle(TFormBorderStyle v)
{
    borderStyle_ = v;
    SyncWidget();
}

void TCustomForm::SetBorderIcons(TBorderIcons v)
{
    borderIcons_ = v;
    SyncWidget();
}

void TCustomForm::SetPosition(TPosition v)
{
    position_ = v;
}

void TCustomForm::SetWindowState(TWindowState v)
{
    windowState_ = v;
    const Qt::WindowState states[] = {Qt::WindowNoState, Qt::WindowMinimized, Qt::WindowMaximized};
    Widget()->setWindowState(states[v]);
}

void TCustomForm::SetActiveControl(TWinControl* control)
{
    if (activeControl_)
        activeControl_->RemoveFreeNotification(this);
    activeControl_ = control;
    if (!control)
        return;
    control->FreeNotification(this);
    if (Showing() && control->CanFocus())
        control->SetFocus();
}

void TCustomForm::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == activeControl_)
        activeControl_ = nullptr;
}

void TCustomForm::SetModalResult(int result)
{
    modalResult_ = result;
    if (modal_ && result != mrNone && modalLoop_)
        modalLoop_->quit();
}

void TCustomForm::PlaceWindow()
{
    if (position_ == poScreenCenter || position_ == poDesktopCenter)
        SetBounds((Screen->Width() - Width()) / 2, (Screen->Height() - Height()) / 2, Width(), Height());
    if (activeControl_ && activeControl_->CanFocus())
        activeControl_->Widget()->setFocus(Qt::OtherFocusReason);
}

void TCustomForm::Show()
{
    if (!Visible()) {
        OnShow(this);
        SetVisible(true);
        PlaceWindow();
        // a window that appears gets its size: forms lay themselves out in OnResize
        Resize();
    }
    Widget()->raise();
    Widget()->activateWindow();
}

void TCustomForm::Close()
{
    if (modal_) {
        SetModalResult(mrCancel);
        return;
    }
    if (!CloseModal())
        return;
    if (Application && Application->MainForm() == this) {
        Application->Terminate();
        return;
    }
    SetVisible(false);
}

bool TCustomForm::CloseModal()
{
    if (!CloseQuery())
        return false;
    TCloseAction action = caHide;
    OnClose(this, action);
    if (action == caFree) {
        // freed once the event that closed it has finished
        QTimer::singleShot(0, Widget(), [window = QPointer<QWidget>(Widget())] {
            if (TControl* form = FindControl(window))
                form->Free();
        });
    }
    return action != caNone;
}

namespace {

// The first shown, enabled button on the control or inside it that the test picks.
TButton* FindButton(TWinControl* parent, const std::function<bool(const TButton*)>& test)
{
    for (int i = 0; i < parent->ControlCount(); ++i) {
        auto* child = dynamic_cast<TWinControl*>(parent->Controls(i));
        if (!child || !child->Visible() || !child->Enabled())
            continue;
        if (auto* button = dynamic_cast<TButton*>(child); button && test(button))
            return button;
        if (TButton* inner = FindButton(child, test))
            return inner;
    }
    return nullptr;
}

}  // namespace

bool TCustomForm::DialogKey(TWinControl* focused, int key)
{
    if (focused && focused->WantsKey(key))
        return false;
    TButton* button = nullptr;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        button = dynamic_cast<TButton*>(focused);
        if (!button)
            button = FindButton(this, [](const TButton* b) { return b->Default; });
    } else if (key == Qt::Key_Escape) {
        button = FindButton(this, [](const TButton* b) { return b->Cancel; });
    }
    if (!button)
        return false;
    button->Click();
    return true;
}

bool TCustomForm::CloseQuery()
{
    bool canClose = true;
    OnCloseQuery(this, canClose);
    return canClose;
}

int TCustomForm::ShowModal()
{
    if (Visible() || modal_)
        throw EInvalidOperation(QStringLiteral("Cannot make a visible window modal"));
    modal_ = true;
    modalResult_ = mrNone;
    int result = mrCancel;
    {
        TScopeExit leave([this] { modal_ = false; });
        result = RunModalLoop();
    }
    modalResult_ = result;
    Deactivate();
    OnHide(this);
    return result;
}

// Shows the form, waits in its loop until a modal result is given and the form
// agrees to close, then hides it. A user gives the result through the form's
// buttons; an answer is asked for from inside the loop, again after each
// refused close.
int TCustomForm::RunModalLoop()
{
    QWidget* window = Widget();
    window->setWindowModality(Qt::ApplicationModal);
    Show();
    QEventLoop loop;
    modalLoop_ = &loop;
    std::exception_ptr failure;
    for (;;) {
        if (modalResult_ == mrNone) {
            if (Modal::WillAnswer())
                QTimer::singleShot(0, &loop, [this, &failure] { AnswerModal(failure); });
            loop.exec(QEventLoop::DialogExec);
        }
        if (failure)
            break;
        if (modalResult_ == mrNone)  // the loop ended without an answer
            modalResult_ = mrCancel;
        if (CloseModal())
            break;
        // nobody is there to answer again on a head-less platform
        if (Modal::IsHeadless() && !Modal::HasAnswerer())
            break;
        modalResult_ = mrNone;
    }
    modalLoop_ = nullptr;
    SetVisible(false);
    window->setWindowModality(Qt::NonModal);
    if (failure)
        std::rethrow_exception(failure);
    return modalResult_;
}

void TCustomForm::AnswerModal(std::exception_ptr& failure)
{
    // the answerer finds the form active, as a user would, before its window hears of it
    Activate();
    TModalRequest request{TModalKind::Form, this, Caption(), QString()};
    try {
        const std::optional<int> answer = Modal::Answer(request);
        // a button the answerer clicked has given the result already
        if (modal_ && modalResult_ == mrNone)
            SetModalResult(answer && *answer != mrNone ? *answer : int(mrCancel));
    } catch (...) {
        failure = std::current_exception();
        if (modalLoop_)
            modalLoop_->quit();
    }
}

bool TCustomForm::Active() const
{
    return active_;
}

void TCustomForm::Activate()
{
    if (active_)
        return;
    active_ = true;
    OnActivate(this);
}

void TCustomForm::Deactivate()
{
    if (!active_)
        return;
    active_ = false;
    OnDeactivate(this);
}

bool TCustomForm::WindowEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::WindowActivate:
        Activate();
        return false;
    case QEvent::WindowDeactivate:
        Deactivate();
        return false;
    case QEvent::Close:
        // the form decides; it hides its window itself
        event->ignore();
        Close();
        return true;
    case QEvent::Move:
    case QEvent::Resize:
        if (IsTopLevel() && Widget()->isVisible())
            WindowBoundsChanged(Widget()->geometry());
        return false;
    case QEvent::Paint:
        OnPaint(this);
        return false;
    default:
        return false;
    }
}

void TCustomForm::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root)
{
    inherited::GetChildren(proc, root);
    OwnedNonControls(this, proc, root);
}

// ---------------------------------------------------------------- TDataModule

void TDataModule::Create(TComponent* owner)
{
    inherited::Create(owner);
    if (Screen)
        Screen->AddDataModule(this);
    AddGlobalRoot(this);
}

void TDataModule::Destroy()
{
    DispatchSafely([this] { OnDestroy(this); });
    if (Screen)
        Screen->RemoveDataModule(this);
    inherited::Destroy();
}

void TDataModule::InitFromResource(const QByteArray& resource)
{
    ReadComponentRes(resource, this);
    DispatchSafely([this] { OnCreate(this); });
}

void TDataModule::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root)
{
    OwnedNonControls(this, proc, root);
}

// ---------------------------------------------------------------- TScreen

TCustomForm* TScreen::Forms(int index) const
{
    if (index < 0 || index >= FormCount())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
    return forms_[index];
}

TDataModule* TScreen::DataModules(int index) const
{
    if (index < 0 || index >= DataModuleCount())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
    return dataModules_[index];
}

TCustomForm* TScreen::ActiveForm() const
{
    for (TCustomForm* form : forms_)
        if (form->Active())
            return form;
    return nullptr;
}

QStringList TScreen::Fonts() const
{
    return QFontDatabase::families();
}

int TScreen::Width() const
{
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().width() : 0;
}

int TScreen::Height() const
{
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().height() : 0;
}

void TScreen::AddForm(TCustomForm* form)
{
    forms_.push_back(form);
}

void TScreen::RemoveForm(TCustomForm* form)
{
    forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
}

void TScreen::AddDataModule(TDataModule* module)
{
    dataModules_.push_back(module);
}

void TScreen::RemoveDataModule(TDataModule* module)
{
    dataModules_.erase(std::remove(dataModules_.begin(), dataModules_.end(), module), dataModules_.end());
}

// ---------------------------------------------------------------- TApplication

void TApplication::Create(TComponent* owner)
{
    inherited::Create(owner);
    SetExceptionSink([this](const std::exception& e) { HandleException(e); });
}

void TApplication::Destroy()
{
    SetExceptionSink(nullptr);
    inherited::Destroy();
}

void TApplication::Initialize()
{
    terminated_ = false;
    if (Title.isEmpty())
        Title = QCoreApplication::applicationName();
}

TComponent* TApplication::CreateForm(TClass formClass)
{
    TComponent* instance = formClass->CreateComponent(this);
    created_.push_back(instance);
    if (!mainForm_)
        mainForm_ = dynamic_cast<TCustomForm*>(instance);
    return instance;
}

void TApplication::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation != opRemove)
        return;
    created_.erase(std::remove(created_.begin(), created_.end(), component), created_.end());
    if (component == mainForm_)
        mainForm_ = nullptr;
}

void TApplication::Run()
{
    if (mainForm_ && !terminated_) {
        mainForm_->Show();
        // a handler of the showing may have ended the program already
        if (!terminated_)
            QApplication::exec();
    }
    while (!created_.empty())
        created_.back()->Free();
}

void TApplication::Terminate()
{
    terminated_ = true;
    QCoreApplication::quit();
}

void TApplication::ProcessMessages()
{
    QCoreApplication::processEvents();
}

void TApplication::HandleException(const std::exception& e)
{
    if (OnException) {
        OnException(this, e);
        return;
    }
    QString message = MessageOf(e);
    // a message that ends in a word gets its full stop
    if (!message.isEmpty() && message.back() > QChar('.'))
        message += QChar('.');
    try {
        static constexpr TMessageButton ok[] = {{QMessageBox::Ok, mrOk}};
        Modal::RunMessageBox(message, Title.isEmpty() ? QCoreApplication::applicationName() : Title,
                             QMessageBox::NoIcon, ok);
    } catch (...) {
        // an error while telling of an error has no one left to tell
    }
}
