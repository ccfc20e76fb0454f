#pragma once
// Small reports over in-memory tables for the running, export and preview
// tests: a report on a form, bands and elements added in code, and the
// texts of each prepared page in reading order.
#include "model_fixture.h"

#include "db/DataSet.h"
#include "engine/Printables.h"
#include "engine/run/ReportRunner.h"

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList& l, std::ostream* os) { *os << l.join(QLatin1Char('|')).toStdString(); }

// A data set whose records the test gives.
class TMemDataSet : public TDataSet {
    VK_CLASS(TMemDataSet, TDataSet)
public:
    TTableData Data;

protected:
    TTableData OpenData() override { return Data; }
};

class QAbstractButton;
class TQRPreviewForm;

// The preview's tool button with the text.
QAbstractButton* PreviewButton(TQRPreviewForm* preview, const QString& text);
// A left click as the mouse gives it on the button, at once or posted to
// arrive when the event loop next runs.
void ClickButton(QAbstractButton* button);
void PostClick(QAbstractButton* button);
// Runs the event loop until the condition holds; false when it never did.
bool RunEventsUntil(const std::function<bool()>& done);

class RunTest : public ReportTest {
protected:
    // A table of NAME (string), QTY (integer), PRICE (float), GRP (string).
    TMemDataSet* Table(int rows, const QString& name = QStringLiteral("Table1"));
    TQRCustomBand* AddBand(TQRBandType type, double height = 20);
    // A label (or another text element) at x, y on the band.
    template <class T = TQRLabel>
    T* AddText(TQRCustomBand* band, const QString& text, double x = 0, double y = 0, double width = 100)
    {
        T* element = New<T>(form);
        element->SetParent(band);
        element->SetAutoSize(false);
        element->SetSize(QRectF(x, y, width, 17));
        SetTextOf(element, text);
        return element;
    }
    static void SetTextOf(TQRCustomLabel* label, const QString& text);

    TQRPreparedReport Run();
    // Each page's texts, top to bottom then left to right.
    static std::vector<QStringList> PageTexts(const TQRPreparedReport& pages);
    static const TQRPageText* FindText(const TQRPreparedPage& page, const QString& text);
    // The page as printed on white at one pixel to a pixel.
    static QImage Render(const TQRPreparedReport& pages, int page = 0);
    // Previews the report: the answerer shows the preview window, hands it to
    // use and hides it again; any other request gets the answer others.
    void PreviewShown(const std::function<void(TQRPreviewForm*)>& use, int others = mrCancel);
    // The page as the shown preview window paints it.
    static QImage ShownPage(TQRPreviewForm* preview);
};
