// Text lines drawn from shapes kept across pages and merged into runs look
// as when each line was drawn by itself with QPainter::drawText, on screen
// and in a PDF, whose text stays extractable; the kept shapes are bounded.
#include "engine/run/TextRuns.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

std::shared_ptr<TFont> Font(const QString& name, int size, TFontStyles style = {}, TColor color = clBlack)
{
    auto font = std::make_shared<TFont>();
    font->SetName(name);
    font->SetSize(size);
    font->SetStyle(style);
    font->SetColor(color);
    return font;
}

// A page with what a report prints: columns of numbers and names repeated
// from row to row, aligned three ways, in several fonts and colours, with
// decorations, a right-to-left text, a tab and an empty text.
TQRPreparedPage Page()
{
    const auto plain = Font(QStringLiteral("DejaVu Sans"), 8);
    const auto same = Font(QStringLiteral("DejaVu Sans"), 8);  // equal to plain, another object
    const auto serif = Font(QStringLiteral("Liberation Serif"), 12, {fsBold, fsItalic}, clBlue);
    const auto underlined = Font(QStringLiteral("Liberation Sans"), 10, {fsUnderline}, clRed);
    const auto struck = Font(QStringLiteral("DejaVu Sans Mono"), 9, {fsStrikeOut});
    TQRPreparedPage page;
    const auto add = [&](double x, double y, const std::shared_ptr<TFont>& font, TAlignment alignment,
                         const QString& text) { page.Texts.push_back({x, y, font, clWhite, alignment, text}); };
    add(200, 10, serif, taCenter, QStringLiteral("Orders of the year"));
    for (int row = 0; row < 12; ++row) {
        const double y = 40 + row * 17.3;
        add(10, y, plain, taLeftJustify, QString::number(1000 + row));
        add(120, y, same, taRightJustify, QStringLiteral("%1.50").arg(row % 3 * 117));
        add(180, y, plain, taCenter, row % 2 ? QStringLiteral("Wavel AVA Toffee") : QStringLiteral("fi ffl To."));
        add(260, y, underlined, taLeftJustify, QStringLiteral("Paid"));
        add(320, y, struck, taRightJustify, QStringLiteral("Void"));
    }
    add(10, 260, plain, taLeftJustify, QStringLiteral("Total\tdue"));
    add(120, 260, plain, taRightJustify, QString::fromUtf8("\u05e9\u05dc\u05d5\u05dd 42"));
    add(200, 260, serif, taLeftJustify, QString());
    add(220, 260, plain, taLeftJustify, QStringLiteral("Page 1"));
    return page;
}

// Each line by itself with QPainter::drawText, at its font's ascent below its top.
void DrawEachLine(const TQRPreparedPage& page, QPainter& painter, double scale)
{
    painter.save();
    painter.scale(scale, scale);
    for (const TQRPageText& t : page.Texts) {
        const QFont font = t.Font->ToQFont();
        const QFontMetricsF metrics(font);
        painter.setFont(font);
        painter.setPen(ColorToQColor(t.Font->Color()));
        double x = t.X;
        if (t.Alignment != taLeftJustify) {
            const double width = metrics.horizontalAdvance(t.Text);
            x -= t.Alignment == taRightJustify ? width : width / 2;
        }
        painter.drawText(QPointF(x, t.Y + metrics.ascent()), t.Text);
    }
    painter.restore();
}

QImage Blank(double scale)
{
    QImage image(QSize(420, 290) * scale, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// Writes a one-page PDF with draw and returns its picture at 150 dpi.
QImage PdfPicture(const QString& file, const std::function<void(QPainter&, double)>& draw)
{
    QPdfWriter writer(file);
    writer.setResolution(1200);
    writer.setPageSize(QPageSize(QPageSize::A5));
    {
        QPainter painter(&writer);
        draw(painter, writer.resolution() / 96.0);
    }
    EXPECT_EQ(QProcess::execute(QStringLiteral("pdftoppm"), {"-png", "-r", "150", "-singlefile", file, file}), 0);
    return QImage(file + QStringLiteral(".png"));
}

// The words of the PDF's text as pdftotext extracts it, sorted.
QStringList PdfWords(const QString& file)
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {file, QStringLiteral("-")});
    pdftotext.waitForFinished();
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    QStringList words = text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    words.sort();
    return words;
}

}  // namespace

TEST(TextRunsTest, LinesLookAsWhenEachWasDrawnByItself)
{
    const TQRPreparedPage page = Page();
    for (const double scale : {1.0, 1.5}) {
        SCOPED_TRACE(scale);
        QImage expected = Blank(scale);
        {
            QPainter painter(&expected);
            DrawEachLine(page, painter, scale);
        }
        TQRTextRuns runs;
        // The second time the shapes come from the cache.
        for (int time = 0; time < 3; ++time) {
            QImage image = Blank(scale);
            QPainter painter(&image);
            PlayPage(page, painter, scale, &runs);
            painter.end();
            EXPECT_TRUE(image == expected) << "time " << time;
        }
        EXPECT_GT(runs.Count(), 0);
    }
}

TEST(TextRunsTest, APdfLooksTheSameAndKeepsItsText)
{
    QTemporaryDir dir;
    const TQRPreparedPage page = Page();
    const QImage expected = PdfPicture(dir.filePath(QStringLiteral("each.pdf")),
                                       [&](QPainter& painter, double scale) {
                                           DrawEachLine(page, painter, scale);
                                           DrawEachLine(page, painter, scale);
                                       });
    const QString runsPdf = dir.filePath(QStringLiteral("runs.pdf"));
    TQRTextRuns runs;
    const QImage image = PdfPicture(runsPdf, [&](QPainter& painter, double scale) {
        PlayPage(page, painter, scale, &runs);
        PlayPage(page, painter, scale, &runs);  // over itself, from the cache
    });
    ASSERT_FALSE(expected.isNull());
    EXPECT_TRUE(image == expected);
    // The same words come out, though not always in the same order.
    EXPECT_EQ(PdfWords(runsPdf), PdfWords(dir.filePath(QStringLiteral("each.pdf"))));
    EXPECT_TRUE(PdfWords(runsPdf).contains(QStringLiteral("1011")));
}

TEST(TextRunsTest, KeepsTheTextsThatRepeatUpToItsCapacity)
{
    const auto font = Font(QStringLiteral("DejaVu Sans"), 8);
    const auto numbers = [&](int first, int count) {
        std::vector<TQRPageText> texts;
        for (int i = first; i < first + count; ++i)
            texts.push_back({10, 10.0 * (i - first), font, clWhite, taLeftJustify, QString::number(i)});
        return texts;
    };
    TQRTextRuns runs(8);
    QImage image = Blank(1);
    QPainter painter(&image);
    runs.Draw(numbers(0, 8), painter);
    EXPECT_EQ(runs.Count(), 0);  // each printed once so far
    runs.Draw(numbers(0, 8), painter);
    EXPECT_EQ(runs.Count(), 8);
    // More texts that repeat than it may keep: some push out others.
    for (int time = 0; time < 3; ++time)
        runs.Draw(numbers(100, 12), painter);
    EXPECT_EQ(runs.Count(), runs.Capacity());
    EXPECT_EQ(runs.Capacity(), 8);
}
