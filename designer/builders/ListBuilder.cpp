#include "designer/builders/ListBuilder.h"

#include "designer/export/AsciiExportFilter.h"
#include "classes/Owned.h"
#include "classes/Published.h"
#include "db/DataSet.h"
#include "engine/Printables.h"
#include "rtl/ScopeExit.h"

namespace {
// Field names with these characters cannot stand in an expression, so such fields get no column.
bool HasUnusableName(const TField* field)
{
    static const QString unusable = QStringLiteral(" /\\&%-");
    for (QChar ch : field->FieldName())
        if (unusable.contains(ch))
            return true;
    return false;
}
}  // namespace

VK_PUBLISHED(TQRListBuilder) {}

void TQRListBuilder::SetActive(bool value)
{
    if (value == Active)
        return;
    if (!value || !DataSet) {
        inherited::SetActive(false);
        return;
    }
    const bool handedIn = Report != nullptr;
    inherited::SetActive(true);
    // the caller's report is not ours to free: a failure gives it back as far as it got
    TScopeExit giveBack([this, handedIn] {
        if (handedIn)
            FetchReport();
    });
    BuildList();
    giveBack.Dismiss();
}

void TQRListBuilder::SetFields(TStrings* list)
{
    Fields->Clear();
    if (list)
        for (int i = 0; i < list->Count(); ++i)
            Fields->Add(list->Strings(i));
}

TQRCustomBand* TQRListBuilder::DetailBand() const
{
    return Report->FirstBandOfType(rbDetail);
}

TQRCustomBand* TQRListBuilder::ColumnHeaderBand() const
{
    return Report->FirstBandOfType(rbColumnHeader);
}

void TQRListBuilder::BuildList()
{
    TQuickRepBands* bands = Report->Bands();
    const bool hadDetail = bands->HasDetail();
    const bool hadHeader = bands->HasColumnHeader();
    if (!hadHeader)
        bands->SetHasColumnHeader(true);
    if (!hadDetail)
        bands->SetHasDetail(true);
    int rowHeight = RoundPx(DetailBand()->BandHeight() * 2.0 / 3.0);
    Report->SetDataSet(DataSet);
    if (DataSet)
        AddColumns(rowHeight);
    // bands the report already had keep their heights
    if (!hadDetail)
        DetailBand()->SetBandHeight(RoundPx(rowHeight * 1.5));
    if (!hadHeader)
        ColumnHeaderBand()->SetBandHeight(RoundPx(rowHeight * 1.5));
    RenameObjects();
}

void TQRListBuilder::AddColumns(int& rowHeight)
{
    if (Fields->Count() > 0) {
        for (int i = 0; i < Fields->Count(); ++i)
            AddField(DataSet->FieldByName(Fields->Strings(i)), rowHeight);
        return;
    }
    for (TField* field : *DataSet->Fields())
        if (field->Visible())
            AddField(field, rowHeight);
}

bool TQRListBuilder::Fits(const TQRPrintable* element) const
{
    return element->Size().left() + element->Size().width() <= DetailBand()->Size().width();
}

void TQRListBuilder::AddField(TField* field, int& rowHeight)
{
    if (HasUnusableName(field))
        return;
    auto* label = As<TQRLabel>(ColumnHeaderBand()->AddPrintable(TQRLabel::ClassInfo()));
    rowHeight = RoundPx(label->Size().height());
    // the column is as wide as DisplayWidth capital X's, whatever the display name
    label->SetAutoSize(true);
    label->SetCaption(FillString(QLatin1Char('X'), field->DisplayWidth()));
    label->SetAutoSize(false);
    label->SetCaption(field->DisplayName());
    label->Frame()->SetDrawBottom(true);

    auto* expr = As<TQRExpr>(DetailBand()->AddPrintable(TQRExpr::ClassInfo()));
    expr->SetAutoSize(false);
    expr->SetExpression(QLatin1Char('[') + field->FieldName() + QLatin1Char(']'));
    const QRectF& column = label->Size();
    expr->SetSize(QRectF(column.left(), expr->Size().top(), column.width(), expr->Size().height()));
    expr->SetAlignment(field->Alignment());

    // the builder's own orientation decides, not the page of a report handed in
    if (!Fits(expr) && Orientation == poPortrait)
        SetOrientation(poLandscape);
    if (!Fits(expr)) {
        label->Free();
        expr->Free();
    }
}

void QRCreateList(TQuickRep*& report, TComponent* owner, TDataSet* dataSet, QString title, TStrings* fields)
{
    TQRBuilder::CheckOwner(owner);
    TOwned<TQRListBuilder> builder(New<TQRListBuilder>(owner));
    builder->DataSet = dataSet;
    builder->SetTitle(title);
    builder->Report = report;
    if (fields)
        builder->SetFields(fields);
    builder->SetActive(true);
    if (builder->Active)
        report = builder->FetchReport();
}
