#include "demos/DemoDriver.h"

#include "controls/StdCtrls.h"
#include "designer/Vornak.h"
#include "dialogs/Dialogs.h"
#include "engine/export/TextExportFilter.h"
#include "engine/preview/PreviewForm.h"
#include "ScreenCheck.h"
#include "UserInput.h"

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

// A click in the bar's trough next to the arrow at one end: one page that way.
void Page(TScrollBar* bar, bool forward)
{
    const bool horizontal = bar->Kind() == sbHorizontal;
    const int length = horizontal ? bar->Width() : bar->Height();
    const int along = forward ? length - kScrollBarThickness - 3 : kScrollBarThickness + 3;
    const int across = kScrollBarThickness / 2;
    user::Click(bar, horizontal ? QPoint(along, across) : QPoint(across, along));
}

// Pages the designer's report with clicks in its scroll bars' troughs until
// the point of the element (in its client area) shows in the report panel.
void ScrollToShow(TVornak* designer, TControl* element, QPoint at)
{
    QWidget* panel = designer->ReportPanel->Widget();
    for (int pages = 0; pages < 100; ++pages) {
        const QPoint p = element->Widget()->mapTo(panel, at);
        const bool beside = p.x() < 0 || p.x() >= panel->width();
        if (!beside && p.y() >= 0 && p.y() < panel->height())
            return;
        TScrollBar* bar = beside ? designer->HorzScrollBar : designer->VertScrollBar;
        const int before = bar->Position();
        Page(bar, beside ? p.x() >= 0 : p.y() >= 0);
        if (bar->Position() == before)
            break;
    }
    ADD_FAILURE() << "the report does not scroll to show " << element->Name().toStdString();
}
}  // namespace

void ClickInReport(TVornak* designer, TControl* element, QPoint at)
{
    ScrollToShow(designer, element, at);
    EXPECT_EQ(user::At(element, at).window, element->Widget())
        << element->Name().toStdString() << " is covered where it is clicked";
    user::Click(element, at);
}

void DragInReport(TVornak* designer, TControl* element, QPoint from, QPoint to)
{
    ScrollToShow(designer, element, to);
    ScrollToShow(designer, element, from);
    user::Drag(element, from, to);
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
