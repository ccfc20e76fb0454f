#pragma once
// The one seam every modal thing goes through: a form's ShowModal, a file,
// colour, font or printer dialog, a message box. In a program it runs the real
// Qt dialog. A test installs an answerer that sees the request (and may fill
// the dialog's fields or type into the form's controls) and returns the result
// instead, or runs the real dialog and works its widgets as a user does. A
// modal form always runs its own loop; the answer is asked for from inside it,
// with the form shown, and closes it as a button's modal result would. Without
// an answerer on a head-less platform nothing ever blocks: the request is
// answered with Cancel.
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <span>

class TObject;

enum class TModalKind { Form, OpenDialog, SaveDialog, ColorDialog, FontDialog, PrinterSetupDialog, PrintDialog,
                        MessageBox };

struct TModalRequest {
    TModalKind Kind;
    TObject* Subject = nullptr;  // the form or dialog object; nil for a message box
    QString Caption;
    QString Text;                // a message box's text
    std::function<int()> RunDialog = {};  // the real dialog, for an answerer that works it by hand
                                          // (nil for a form: its answerer runs inside its loop)
};

using TModalAnswerer = std::function<int(TModalRequest&)>;

// A button a message box offers: one of Qt's standard buttons (a
// QMessageBox::StandardButton) and the modal result it returns.
struct TMessageButton {
    int Qt;
    int Result;
};

namespace Modal {
// Runs a modal request: through the installed answerer, else the real dialog.
int Run(TModalRequest& request, const std::function<int()>& realDialog);
// The answer to a request without its real dialog (a modal form asks from
// inside its loop): the answerer's, else Cancel on a head-less platform;
// nothing when a user answers.
std::optional<int> Answer(TModalRequest& request);
// A message box: Qt's, with its icon (QMessageBox's value) and the buttons
// given, over the active window; returns the modal result of the button
// pressed, Cancel when the box is closed without one.
int RunMessageBox(const QString& text, const QString& caption, int icon, std::span<const TMessageButton> buttons);
// True when a request is answered without a real dialog (an answerer is
// installed, or the platform is head-less).
bool WillAnswer();
bool HasAnswerer();
// Installs an answerer (nil removes it); returns the previous one.
TModalAnswerer SetAnswerer(TModalAnswerer answerer);
// The texts of the message boxes shown while the current message log
// listens (tests read them); empty when none listens.
const QStringList& Messages();
void ClearMessages();
bool IsHeadless();
}  // namespace Modal

// Installs an answerer for the life of a scope (tests).
class TModalScope {
public:
    explicit TModalScope(TModalAnswerer answerer) : previous_(Modal::SetAnswerer(std::move(answerer))) {}
    ~TModalScope() { Modal::SetAnswerer(std::move(previous_)); }
    TModalScope(const TModalScope&) = delete;
    TModalScope& operator=(const TModalScope&) = delete;

private:
    TModalAnswerer previous_;
};

// Keeps the texts of the message boxes shown while it lives, in place of the
// log that listened before it; a program without one keeps none.
class TMessageLog {
public:
    TMessageLog();
    ~TMessageLog();
    TMessageLog(const TMessageLog&) = delete;
    TMessageLog& operator=(const TMessageLog&) = delete;
    QStringList Texts;

private:
    TMessageLog* previous_;
};
