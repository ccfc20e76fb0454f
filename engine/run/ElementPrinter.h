#pragma once
// How one element prints on a prepared page: the text it shows for the
// current record (labels, memos, data fields, expressions, system data), the
// lines that text breaks into, the height it needs, and its drawing.
#include "PreparedReport.h"

#include <QRectF>
#include <QStringList>
#include <unordered_map>
#include <memory>
#include <optional>

class TQRPrintable;
class TQRCustomLabel;
class TQRExpr;
class TExpression;
class TCustomQuickRep;
class TDataSet;

// What the running report knows that elements print.
struct TQRRunState {
    int PageNumber = 0;
    int DetailNo = 0;  // records printed so far
    TDataSet* DataSet = nullptr;  // the report's
    // The records of the report's data set. Asked of the data set only when
    // an element prints it: counting may cost a data set a pass over its records.
    int DetailCount() const;

private:
    mutable std::optional<int> detailCount_;
};

// An element measured for the current record: its printed lines (text
// elements) and the height it takes on the page.
struct TQRElementLayout {
    QStringList Lines;
    double Height = 0;
};

class TQRElementPrinter {
public:
    explicit TQRElementPrinter(TCustomQuickRep* report);
    ~TQRElementPrinter();

    // Parses every expression element once and takes the fonts of the text
    // elements; a faulty expression keeps its message, which the element
    // then prints.
    void Prepare(const std::vector<TQRPrintable*>& elements);
    // Every expression element takes the current record into its aggregates.
    void AccumulateAll();
    // After an element printed: resets it when it asks for it.
    void AfterPrint(TQRPrintable* element);

    // The lines and height of the element for the current record; text
    // aligned to its band spreads over bandWidth, the printed band's width
    // (a column's in a multi-column report).
    TQRElementLayout Measure(TQRPrintable* element, const TQRRunState& state, double bandWidth) const;
    // Draws the measured element in its band whose top-left corner is at
    // origin and whose printed width is bandWidth, and records its text lines.
    void Print(TQRPrintable* element, const TQRElementLayout& layout, const QPointF& origin, double bandWidth,
               QPainter& painter, std::vector<TQRPageText>& texts) const;

private:
    struct TFontInfo;
    struct TElement;
    // The element as this run knows it, classified on first sight.
    TElement& ElementOf(const TQRPrintable* element) const;
    // The printed text of a text element for the current record.
    QString TextOf(TElement& element, const TQRRunState& state) const;
    QString ExpressionText(const TElement& element) const;
    QStringList LinesOf(TElement& element, const QString& text, double bandWidth) const;
    TFontInfo& FontOf(TElement& element) const;
    void PrintText(TElement& element, const QStringList& lines, const QRectF& rect, QPainter& painter,
                   std::vector<TQRPageText>& texts) const;
    // The area a text element's background covers.
    QRectF TextBox(TElement& element, const QStringList& lines, const QRectF& rect) const;

    TCustomQuickRep* report_;
    mutable std::unordered_map<const TQRPrintable*, std::unique_ptr<TElement>> elements_;
    std::vector<TElement*> exprs_;  // the parsed expressions, which take every record
};

// The value of a group expression for the current record, compiled once.
class TQRGroupValue {
public:
    TQRGroupValue(const QString& text, TCustomQuickRep* report);
    ~TQRGroupValue();
    QString Current() const;  // a faulty expression gives its message

private:
    std::unique_ptr<TExpression> expr_;
    QString error_;
};
