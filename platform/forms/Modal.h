#pragma once
// The one seam every modal thing goes through: a form's ShowModal, a file,
// colour, font or printer dialog, a message box. In a program it runs the real
// Qt dialog. A test installs an answerer that sees the request (and may fill
// the dialog's fields or type into the form's controls) and returns the result
// instead, or runs the real dialog and works its widgets as a user does;
// without an answerer on a head-less platform nothing ever blocks: the request
// is answered with Cancel.
#include <QString>
#include <QStringList>
#include <functional>

class TObject;

enum class TModalKind { Form, OpenDialog, SaveDialog, ColorDialog, FontDialog, PrinterSetupDialog, PrintDialog,
                        MessageBox };

struct TModalRequest {
    TModalKind Kind;
    TObject* Subject = nullptr;  // the form or dialog object; nil for a message box
    QString Caption;
    QString Text;                // a message box's text
    std::function<int()> RunDialog = {};  // the real dialog, for an answerer that works it by hand
};

using TModalAnswerer = std::function<int(TModalRequest&)>;

namespace Modal {
// Runs a modal request: through the installed answerer, else the real dialog.
int Run(TModalRequest& request, const std::function<int()>& realDialog);
// True when a request is answered without a real dialog (an answerer is
// installed, or the platform is head-less).
bool WillAnswer();
// Installs an answerer (nil removes it); returns the previous one.
TModalAnswerer SetAnswerer(TModalAnswerer answerer);
// The texts of the message boxes shown so far (tests read them).
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
