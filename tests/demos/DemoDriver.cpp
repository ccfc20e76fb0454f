#include "demos/DemoDriver.h"

#include "controls/StdCtrls.h"
#include "dialogs/Dialogs.h"
#include "engine/export/TextExportFilter.h"
#include "engine/preview/PreviewForm.h"
#include "ScreenCheck.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QPainter>
#include <QProcess>
#include <QUuid>
#include <QWidget>
#include <gtest/gtest.h>

namespace {
QString BuildPath(const QString& folder)
{
    const QString dir = qEnvironmentVariable("VK_BUILD_DIR", QDir::tempPath()) + QLatin1Char('/') + folder;
    QDir().mkpath(dir);
    return dir;
}
}  // namespace

void ClickAt(TControl* control, int x, int y)
{
    control->MouseDown(mbLeft, {}, x, y);
    control->MouseUp(mbLeft, {}, x, y);
}

// The pointer moves in steps; each event is in the coordinates of the control
// where it is then, as a dragged control that moves under the pointer gets them.
void Drag(TControl* control, QPoint from, QPoint to)
{
    const QPoint origin = control->BoundsRect().topLeft();
    auto local = [&](QPoint p) { return p - (control->BoundsRect().topLeft() - origin); };
    control->MouseDown(mbLeft, {}, from.x(), from.y());
    for (const QPoint p : {(from + to) / 2, to}) {
        const QPoint at = local(p);
        control->MouseMove(TShiftState{ssLeft}, at.x(), at.y());
    }
    const QPoint end = local(to);
    control->MouseUp(mbLeft, {}, end.x(), end.y());
}

// Key events to the box's own window, as the keyboard delivers them: the
// window's text change reaches the control like any typing does.
void TypeInto(TEdit* edit, const QString& text)
{
    QWidget* window = edit->Widget();
    ASSERT_NE(window, nullptr);
    for (QChar ch : text) {
        const int key = ch.toUpper().unicode();  // Qt's key codes of printable keys
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(ch));
        QCoreApplication::sendEvent(window, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(ch));
        QCoreApplication::sendEvent(window, &release);
    }
}

TDemoModal::TDemoModal()
    : Scope([this](TModalRequest& request) {
          Requests.push_back(request);
          if (auto* preview = dynamic_cast<TQRPreviewForm*>(request.Subject); preview && OnPreview) {
              OnPreview(preview);
              return int(mrOk);
          }
          if (auto* form = dynamic_cast<TCustomForm*>(request.Subject); form && OnForm)
              return OnForm(form);
          if (auto* dialog = dynamic_cast<TOpenDialog*>(request.Subject); dialog && !FileName.isEmpty()) {
              dialog->FileName = FileName;
              return int(mrOk);
          }
          return Result;
      })
{
    Modal::ClearMessages();
}

QStringList PageTexts(const TQRPreparedReport& pages)
{
    QStringList texts;
    for (int p = 0; p < pages.PageCount(); ++p)
        for (const TQRPageText& text : pages.Page(p).Texts)
            texts << text.Text;
    return texts;
}

QString PrintToPdf(TQuickRep* report, const QString& name)
{
    const QString base = BuildPath(QStringLiteral("screenshots")) + QLatin1Char('/') + name;
    QFile::remove(base + QStringLiteral(".pdf"));
    report->PrinterSettings()->OutputFileName = base + QStringLiteral(".pdf");
    report->Print();
    report->PrinterSettings()->OutputFileName.clear();
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), base + ".pdf", QStringLiteral("-")});
    pdftotext.waitForFinished();
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

QStringList ExportTextPages(TQuickRep* report, const QString& name)
{
    const QString file = ScratchPath(name);
    report->ExportToFilter(new TQRTextExportFilter(file));
    QFile text(file);
    if (!text.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "no text export at " << file.toStdString();
        return {};
    }
    return QString::fromUtf8(text.readAll()).split(QLatin1Char('\f'));
}

void SaveForReview(const QImage& image, const QString& name)
{
    EXPECT_FALSE(image.isNull()) << name.toStdString();
    EXPECT_TRUE(image.save(BuildPath(QStringLiteral("screenshots")) + QLatin1Char('/') + name + ".png"))
        << name.toStdString();
}

void SaveWindowForReview(const TWinControl* window, const QString& name)
{
    const QImage image = window->Grab();
    ExpectControlsDrawn(window, image, name.toStdString());
    SaveForReview(image, name);
}

QImage RenderPage(const TQRPreparedReport& pages, int page)
{
    QImage image(qRound(pages.PaperWidth), qRound(pages.PaperLength), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PlayPage(pages.Page(page - 1), painter, 1.0);
    return image;
}

QString ScratchPath(const QString& name)
{
    const QString dir = BuildPath(QStringLiteral("scratch/") + QUuid::createUuid().toString(QUuid::WithoutBraces));
    return dir + QLatin1Char('/') + name;
}
