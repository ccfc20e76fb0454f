#include "run_fixture.h"

#include "classes/Published.h"
#include "engine/preview/PreviewForm.h"
#include "forms/Modal.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QTest>

VK_PUBLISHED(TMemDataSet) {}

TMemDataSet* RunTest::Table(int rows, const QString& name)
{
    auto* ds = New<TMemDataSet>(form);
    ds->SetName(name);
    ds->Data.Defs = {{"NAME", ftString, 20}, {"QTY", ftInteger}, {"PRICE", ftFloat}, {"GRP", ftString, 5}};
    for (int i = 1; i <= rows; ++i)
        ds->Data.Rows.push_back({QStringLiteral("Item%1").arg(i), qint64(i), i * 1.5,
                                 QStringLiteral("G%1").arg((i - 1) / 3 + 1)});
    return ds;
}

TQRCustomBand* RunTest::AddBand(TQRBandType type, double height)
{
    TQRCustomBand* band = report->CreateBand(type);
    band->SetHeight(int(height));
    return band;
}

void RunTest::SetTextOf(TQRCustomLabel* label, const QString& text)
{
    if (auto* expr = dynamic_cast<TQRExpr*>(label))
        expr->SetExpression(text);
    else if (auto* db = dynamic_cast<TQRDBText*>(label))
        db->SetDataField(text);
    else if (auto* sys = dynamic_cast<TQRSysData*>(label))
        sys->SetText(text);
    else
        label->SetCaption(text);
}

TQRPreparedReport RunTest::Run()
{
    TQRPreparedReport pages;
    TQRReportRunner(report).Run(pages);
    return pages;
}

std::vector<QStringList> RunTest::PageTexts(const TQRPreparedReport& pages)
{
    std::vector<QStringList> out;
    for (int p = 0; p < pages.PageCount(); ++p) {
        std::vector<TQRPageText> texts = pages.Page(p).Texts;
        std::stable_sort(texts.begin(), texts.end(), [](const TQRPageText& a, const TQRPageText& b) {
            return a.Y != b.Y ? a.Y < b.Y : a.X < b.X;
        });
        QStringList list;
        for (const TQRPageText& t : texts)
            list << t.Text;
        out.push_back(list);
    }
    return out;
}

const TQRPageText* RunTest::FindText(const TQRPreparedPage& page, const QString& text)
{
    for (const TQRPageText& t : page.Texts)
        if (t.Text == text)
            return &t;
    return nullptr;
}

QAbstractButton* PreviewButton(TQRPreviewForm* preview, const QString& text)
{
    for (QAbstractButton* button : preview->Widget()->findChildren<QAbstractButton*>())
        if (button->text() == text)
            return button;
    ADD_FAILURE() << "no button " << text.toStdString();
    return nullptr;
}

void ClickButton(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

void PostClick(QAbstractButton* button)
{
    const QPointF at = QRectF(button->rect()).center();
    const QPointF global = button->mapToGlobal(at);
    QCoreApplication::postEvent(button, new QMouseEvent(QEvent::MouseButtonPress, at, global, Qt::LeftButton,
                                                        Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(button, new QMouseEvent(QEvent::MouseButtonRelease, at, global, Qt::LeftButton,
                                                        Qt::NoButton, Qt::NoModifier));
}

bool RunEventsUntil(const std::function<bool()>& done)
{
    // A stop for a test that would otherwise hang, not a measure of speed.
    QDeadlineTimer deadline(60000);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents();
    }
    return true;
}

QImage RunTest::Render(const TQRPreparedReport& pages, int page)
{
    QImage image(QSizeF(pages.PaperWidth, pages.PaperLength).toSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PlayPage(pages.Page(page), painter, 1);
    return image;
}

void RunTest::PreviewShown(const std::function<void(TQRPreviewForm*)>& use, int others)
{
    TModalScope scope([&](TModalRequest& request) {
        auto* preview = dynamic_cast<TQRPreviewForm*>(request.Subject);
        if (!preview)
            return others;
        preview->Widget()->show();
        use(preview);
        preview->Widget()->hide();
        return int(mrCancel);
    });
    report->Preview();
}

QImage RunTest::ShownPage(TQRPreviewForm* preview)
{
    return preview->Widget()->findChild<QScrollArea*>()->widget()->grab().toImage();
}
