#include "PreviewForm.h"

#include "classes/Owned.h"
#include "classes/Published.h"
#include "dialogs/Dialogs.h"
#include "engine/QuickRep.h"
#include "engine/export/ReportExport.h"
#include "engine/print/ReportPrinter.h"
#include "engine/run/ReportRunner.h"
#include "engine/run/TextRuns.h"
#include "rtl/Exceptions.h"
#include "rtl/ScopeExit.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLayout>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

// Paints one prepared page at the preview's zoom.
class TQRPageView : public QWidget {
public:
    static constexpr int Border = 10;  // grey round the page

    void Show(const TQRPreparedReport* pages, int page, double zoom)
    {
        pages_ = pages;
        page_ = page;
        zoom_ = zoom;
        const QSizeF size(pages->PaperWidth * zoom / 100, pages->PaperLength * zoom / 100);
        setFixedSize(size.toSize() + QSize(2 * Border, 2 * Border));
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::darkGray);
        if (!pages_ || page_ < 1 || page_ > pages_->PageCount())
            return;
        painter.translate(Border, Border);
        painter.fillRect(QRectF(0, 0, pages_->PaperWidth * zoom_ / 100, pages_->PaperLength * zoom_ / 100), Qt::white);
        painter.setRenderHint(QPainter::Antialiasing);
        try {
            PlayPage(pages_->Page(page_ - 1), painter, zoom_ / 100, &texts_);
        } catch (const Exception& e) {
            // A page file that fails to give the page back says so on the
            // page: no message box can open inside a paint.
            painter.setPen(Qt::black);
            painter.drawText(QRectF(0, 0, width() - 2 * Border, height() - 2 * Border),
                             Qt::AlignCenter | Qt::TextWordWrap, e.Message());
        }
    }

private:
    const TQRPreparedReport* pages_ = nullptr;
    int page_ = 0;
    double zoom_ = 100;
    TQRTextRuns texts_;  // the shapes of the texts shown, for the pages to come
};

VK_PUBLISHED(TQRPreviewForm) {}

TQRPreviewForm::TQRPreviewForm() = default;
TQRPreviewForm::~TQRPreviewForm() = default;

void TQRPreviewForm::Create(TComponent* owner)
{
    inherited::Create(owner);
    SetCaption(QStringLiteral("Print preview"));
    SetBounds(40, 40, 820, 700);
    BuildWindow();
    stepTimer_ = new QTimer(Widget());
    stepTimer_->setSingleShot(true);
    stepTimer_->setInterval(0);
    QObject::connect(stepTimer_, &QTimer::timeout, [this] { DispatchSafely([this] { PrepareSome(); }); });
}

void TQRPreviewForm::Destroy()
{
    runner_.reset();
    inherited::Destroy();
}

void TQRPreviewForm::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation != opRemove || component != report_)
        return;
    // The pages stay to be looked at and saved; what needs the report waits no more.
    report_ = nullptr;
    pending_.clear();
    if (!prepared_)
        EndPreparing();
}

void TQRPreviewForm::AddButton(const QString& text, const QString& tip, void (TQRPreviewForm::*action)())
{
    auto* button = new QToolButton(Widget());
    button->setText(text);
    button->setToolTip(tip);
    button->setAutoRaise(true);
    QObject::connect(button, &QToolButton::clicked, [this, action] { DispatchSafely([&] { (this->*action)(); }); });
    toolbar_->addWidget(button);
}

void TQRPreviewForm::BuildWindow()
{
    QWidget* window = Widget();
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(2, 2, 2, 2);
    toolbar_ = new QHBoxLayout;
    layout->addLayout(toolbar_);
    AddButton(QStringLiteral("Fit page"), QStringLiteral("Zoom to fit the page"), &TQRPreviewForm::FitPage);
    AddButton(QStringLiteral("Fit width"), QStringLiteral("Zoom to the page's width"), &TQRPreviewForm::FitWidth);
    AddButton(QStringLiteral("100 %"), QStringLiteral("Natural size"), &TQRPreviewForm::ZoomToNatural);
    AddButton(QStringLiteral("+"), QStringLiteral("Zoom in"), &TQRPreviewForm::ZoomIn);
    AddButton(QStringLiteral("-"), QStringLiteral("Zoom out"), &TQRPreviewForm::ZoomOut);
    AddButton(QStringLiteral("|<"), QStringLiteral("First page"), &TQRPreviewForm::FirstPage);
    AddButton(QStringLiteral("<"), QStringLiteral("Prior page"), &TQRPreviewForm::PriorPage);
    AddButton(QStringLiteral(">"), QStringLiteral("Next page"), &TQRPreviewForm::NextPage);
    AddButton(QStringLiteral(">|"), QStringLiteral("Last page"), &TQRPreviewForm::LastPage);
    AddButton(QStringLiteral("Print"), QStringLiteral("Print the report"), &TQRPreviewForm::PrintPages);
    AddButton(QStringLiteral("Printer setup"), QStringLiteral("Choose the printer, paper and copies"),
              &TQRPreviewForm::SetupPrinter);
    AddButton(QStringLiteral("Save"), QStringLiteral("Save the report into a file"),
              static_cast<void (TQRPreviewForm::*)()>(&TQRPreviewForm::SaveToFile));
    AddButton(QStringLiteral("Close"), QStringLiteral("Close the preview"), &TQRPreviewForm::CloseWindow);
    pageLabel_ = new QLabel(window);
    toolbar_->addWidget(pageLabel_);
    toolbar_->addStretch();
    statusLabel_ = new QLabel(window);
    toolbar_->addWidget(statusLabel_);
    scroll_ = new QScrollArea(window);
    scroll_->setAlignment(Qt::AlignHCenter);
    view_ = new TQRPageView;
    scroll_->setWidget(view_);
    layout->addWidget(scroll_);
    const std::pair<QKeySequence, void (TQRPreviewForm::*)()> keys[] = {
        {Qt::Key_PageDown, &TQRPreviewForm::NextPage}, {Qt::Key_PageUp, &TQRPreviewForm::PriorPage},
        {Qt::Key_Home, &TQRPreviewForm::FirstPage}, {Qt::Key_End, &TQRPreviewForm::LastPage},
        {Qt::CTRL | Qt::Key_Home, &TQRPreviewForm::FirstPage}, {Qt::CTRL | Qt::Key_End, &TQRPreviewForm::LastPage},
        {Qt::Key_Plus, &TQRPreviewForm::ZoomIn}, {Qt::Key_Minus, &TQRPreviewForm::ZoomOut},
        {Qt::Key_Escape, &TQRPreviewForm::CloseWindow}};
    for (const auto& [key, action] : keys)
        QObject::connect(new QShortcut(key, window), &QShortcut::activated,
                         [this, action = action] { DispatchSafely([&] { (this->*action)(); }); });
}

void TQRPreviewForm::SetReport(TCustomQuickRep* report)
{
    if (report_)
        RemoveFreeNotification(report_);
    report_ = report;
    FreeNotification(report);
    SetCaption(report->ReportTitle().isEmpty() ? QStringLiteral("Print preview") : report->ReportTitle());
    Restart();
}

void TQRPreviewForm::CloseWindow()
{
    if (IsModal())
        SetModalResult(mrCancel);
    else
        Close();
}

bool TQRPreviewForm::StopWanted() const
{
    return IsModal() && ModalResult() != mrNone;
}

void TQRPreviewForm::Restart()
{
    runner_.reset();
    pages_ = TQRPreparedReport();
    current_ = 0;
    prepared_ = complete_ = false;
    stepTimer_->start();
}

bool TQRPreviewForm::PrepareStep()
{
    // A failing report ends the preparation with the pages it gave.
    TScopeExit failed([this] {
        pending_.clear();
        EndPreparing();
    });
    if (!runner_) {
        runner_ = std::make_unique<TQRReportRunner>(report_);
        runner_->Start(pages_);
    }
    const bool more = runner_->Step();
    failed.Dismiss();
    return more;
}

void TQRPreviewForm::PrepareSome()
{
    if (prepared_)
        return;
    if (StopWanted()) {
        EndPreparing();
        return;
    }
    QElapsedTimer slice;
    slice.start();
    const int pages = PageCount();
    bool more = true;
    while (more && PageCount() == pages && slice.elapsed() < 50)
        more = PrepareStep();
    if (!more) {
        EndPreparing();
        return;
    }
    statusLabel_->setText(QStringLiteral("Preparing: %1 pages").arg(PageCount()));
    GotoPage(std::max(current_, 1));
    stepTimer_->start();
}

void TQRPreviewForm::EndPreparing()
{
    stepTimer_->stop();
    complete_ = runner_ && runner_->Finished();
    runner_.reset();
    prepared_ = true;
    statusLabel_->setText(QString());
    GotoPage(std::max(current_, 1));
    for (auto action : std::exchange(pending_, {}))
        (this->*action)();
}

bool TQRPreviewForm::WhenPrepared(void (TQRPreviewForm::*action)())
{
    if (!runner_)
        return PreparePages();
    // Asked for while the pages are still coming: the action runs once they
    // are all there rather than on part of them.
    pending_.push_back(action);
    return false;
}

bool TQRPreviewForm::PreparePages()
{
    if (prepared_ || !report_)
        return complete_;
    // A window closed while its pages come stops after the page under way.
    bool more = true;
    while (more && !(StopWanted() && PageCount() > 0))
        more = PrepareStep();
    EndPreparing();
    return complete_;
}

void TQRPreviewForm::GotoPage(int page)
{
    current_ = PageCount() == 0 ? 0 : std::clamp(page, 1, PageCount());
    Refresh();
}

void TQRPreviewForm::SetZoom(double percent)
{
    zoom_ = std::clamp(percent, 10.0, 400.0);
    Refresh();
}

void TQRPreviewForm::ZoomToNatural()
{
    SetZoom(100);
}

QSizeF TQRPreviewForm::PageRoom() const
{
    // Before the window first shows, its layout has not placed the page area yet.
    if (!Widget()->isVisible())
        Widget()->layout()->setGeometry(Widget()->rect());
    // Less the page's border and a scroll bar, which a page taller than the window brings.
    const QSize area = scroll_->contentsRect().size();
    const int bar = scroll_->verticalScrollBar()->sizeHint().width();
    return QSizeF(area.width() - 2 * TQRPageView::Border - bar, area.height() - 2 * TQRPageView::Border);
}

void TQRPreviewForm::FitWidth()
{
    SetZoom(PageRoom().width() / std::max(pages_.PaperWidth, 1.0) * 100);
}

void TQRPreviewForm::FitPage()
{
    const QSizeF room = PageRoom();
    SetZoom(std::min(room.width() / std::max(pages_.PaperWidth, 1.0),
                     room.height() / std::max(pages_.PaperLength, 1.0)) * 100);
}

QString TQRPreviewForm::PageText() const
{
    return QStringLiteral("Page %1 of %2").arg(current_).arg(PageCount());
}

void TQRPreviewForm::Refresh()
{
    pageLabel_->setText(PageText());
    view_->Show(&pages_, current_, zoom_);
}

void TQRPreviewForm::PrintPages()
{
    if (report_ && WhenPrepared(&TQRPreviewForm::PrintPages))
        PrintReport(report_, &pages_);
}

void TQRPreviewForm::SetupPrinter()
{
    if (!report_)
        return;
    // The pages change with the new settings: a running preparation starts again.
    stepTimer_->stop();
    runner_.reset();
    report_->PrinterSetup();
    Restart();
}

void TQRPreviewForm::SaveToFile()
{
    if (QRExportFilterLibrary.Count() == 0 || !WhenPrepared(&TQRPreviewForm::SaveToFile))
        return;
    const TOwned<TSaveDialog> dialog(New<TSaveDialog>(this));
    // No DefaultExt: the extension a bare name gets is the chosen filter's.
    dialog->Filter = QRExportFilterLibrary.SaveDialogFilter();
    if (dialog->Execute())
        SaveToFile(dialog->FilterIndex - 1, dialog->FileName);
}

void TQRPreviewForm::SaveToFile(int filterIndex, const QString& fileName)
{
    const auto& entries = QRExportFilterLibrary.Filters();
    const auto& entry = entries.at(std::clamp<size_t>(filterIndex, 0, entries.size() - 1));
    const bool bare = !fileName.isEmpty() && QFileInfo(fileName).suffix().isEmpty();
    const QString target = bare ? fileName + QLatin1Char('.') + entry.Extension : fileName;
    // the save dialog asked about the name as typed; the file it becomes is asked about here
    if (bare && QFileInfo::exists(target) &&
        MessageDlg(QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(target), mtConfirmation,
                   {mbYes, mbNo}, 0) != mrYes)
        return;
    std::unique_ptr<TQRExportFilter> filter(entry.CreateFilter(target));
    ExportPreparedReport(pages_, filter.get());
}

void PreviewReport(TCustomQuickRep* report)
{
    const TOwned<TQRPreviewForm> form(New<TQRPreviewForm>(nullptr));
    form->SetReport(report);
    form->ShowModal();
}

void TCustomQuickRep::Preview()
{
    PreviewReport(this);
}
