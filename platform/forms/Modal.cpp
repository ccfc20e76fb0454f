#include "Modal.h"
#include "controls/StdCtrls.h"

#include <QApplication>
#include <QMessageBox>
#include <algorithm>

namespace {

TModalAnswerer& Answerer()
{
    static TModalAnswerer answerer;
    return answerer;
}

TMessageLog*& CurrentLog()
{
    static TMessageLog* log = nullptr;
    return log;
}

// A form or message box that nobody answers was cancelled; a common dialog
// that nobody confirmed returns 0 (not executed).
int Unanswered(TModalKind kind)
{
    return kind == TModalKind::Form || kind == TModalKind::MessageBox ? mrCancel : 0;
}

}  // namespace

namespace Modal {

int Run(TModalRequest& request, const std::function<int()>& realDialog)
{
    if (request.Kind == TModalKind::MessageBox && CurrentLog())
        CurrentLog()->Texts << request.Text;
    if (Answerer())
        request.RunDialog = realDialog;
    if (const std::optional<int> answer = Answer(request))
        return *answer;
    return realDialog();
}

std::optional<int> Answer(TModalRequest& request)
{
    if (Answerer())
        return Answerer()(request);
    if (IsHeadless())
        return Unanswered(request.Kind);
    return std::nullopt;
}

int RunMessageBox(const QString& text, const QString& caption, int icon, std::span<const TMessageButton> buttons)
{
    TModalRequest request{TModalKind::MessageBox, nullptr, caption, text};
    return Run(request, [&] {
        QMessageBox::StandardButtons shown;
        for (const TMessageButton& button : buttons)
            shown |= QMessageBox::StandardButton(button.Qt);
        QMessageBox box(QMessageBox::Icon(icon), caption, text, shown, QApplication::activeWindow());
        const auto pressed = std::ranges::find(buttons, box.exec(), &TMessageButton::Qt);
        return pressed != buttons.end() ? pressed->Result : int(mrCancel);
    });
}

bool WillAnswer() { return Answerer() || IsHeadless(); }

bool HasAnswerer() { return bool(Answerer()); }

TModalAnswerer SetAnswerer(TModalAnswerer answerer)
{
    return std::exchange(Answerer(), std::move(answerer));
}

const QStringList& Messages()
{
    static const QStringList none;
    return CurrentLog() ? CurrentLog()->Texts : none;
}

void ClearMessages()
{
    if (CurrentLog())
        CurrentLog()->Texts.clear();
}

// Nobody can answer a window on a platform that shows none.
bool IsHeadless()
{
    QString platform = QString::fromLocal8Bit(qgetenv("QT_QPA_PLATFORM"));
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        platform = QGuiApplication::platformName();
    return platform.startsWith(QLatin1String("offscreen")) || platform.startsWith(QLatin1String("minimal"));
}

}  // namespace Modal

TMessageLog::TMessageLog() : previous_(std::exchange(CurrentLog(), this)) {}

TMessageLog::~TMessageLog()
{
    CurrentLog() = previous_;
}
