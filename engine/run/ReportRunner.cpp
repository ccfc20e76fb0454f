#include "ReportRunner.h"

#include "db/DataSet.h"
#include "engine/Printables.h"
#include "rtl/ScopeExit.h"

#include <QPainter>
#include <unordered_map>

struct TQRReportRunner::TBands {
    TQRCustomBand* Title = nullptr;
    TQRCustomBand* PageHeader = nullptr;
    TQRCustomBand* ColumnHeader = nullptr;
    TQRCustomBand* Detail = nullptr;
    TQRCustomBand* PageFooter = nullptr;
    TQRCustomBand* Summary = nullptr;
    std::vector<TQRGroup*> Groups;  // outermost first
    std::vector<std::unique_ptr<TQRGroupValue>> GroupValues;
    std::vector<TQRSubDetail*> SubDetails;
    std::vector<TQRPrintable*> Elements;
    // Each band's elements, asked of the band once rather than for every record.
    std::unordered_map<const TQRCustomBand*, std::vector<TQRPrintable*>> BandElements;
    // Bands from outside the report (another report's, named as a footer), asked during the run.
    std::unordered_map<const TQRCustomBand*, std::vector<TQRPrintable*>> OutsideElements;
    // Each band's child band, found once rather than by a search of the report for every band printed.
    std::unordered_map<const TQRCustomBand*, TQRCustomBand*> Children;
};

// Unwinds the run when the page listener asks to stop.
class TQRReportRunner::TStop {};

// Hears of the report, its bands, elements and data sets going.
class TQRReportRunner::TWatch : public TComponent {
public:
    TQRReportRunner* Runner = nullptr;
    void Notification(TComponent* component, TOperation operation) override
    {
        TComponent::Notification(component, operation);
        if (operation == opRemove && Runner)
            Runner->Lost(component);
    }
};

namespace {

// The first enabled band of each kind; later ones of a kind are not printed.
void TakeBand(TQRCustomBand*& slot, TQRCustomBand* band)
{
    if (!slot)
        slot = band;
}

}  // namespace

TQRReportRunner::TQRReportRunner(TCustomQuickRep* report)
    : report_(report), bands_(std::make_unique<TBands>()),
      watch_(New<TWatch>(nullptr)), printer_(report)
{
    watch_->Runner = this;
    watch_->FreeNotification(report);
    for (TQRCustomBand* band : report->BandList()) {
        watch_->FreeNotification(band);
        const auto& elements = bands_->BandElements[band] = band->Printables();
        for (TQRPrintable* element : elements) {
            bands_->Elements.push_back(element);
            watch_->FreeNotification(element);
        }
        if (auto* child = dynamic_cast<TQRChildBand*>(band); child && child->ParentBand())
            bands_->Children.try_emplace(child->ParentBand(), child);  // the first, as ChildBand() finds
        if (!band->Enabled())
            continue;
        switch (band->BandType()) {
        case rbTitle: TakeBand(bands_->Title, band); break;
        case rbPageHeader: TakeBand(bands_->PageHeader, band); break;
        case rbColumnHeader: TakeBand(bands_->ColumnHeader, band); break;
        case rbDetail: TakeBand(bands_->Detail, band); break;
        case rbPageFooter: TakeBand(bands_->PageFooter, band); break;
        case rbSummary: TakeBand(bands_->Summary, band); break;
        case rbGroupHeader:
            if (auto* group = dynamic_cast<TQRGroup*>(band))
                bands_->Groups.push_back(group);
            break;
        case rbSubDetail:
            if (auto* sub = dynamic_cast<TQRSubDetail*>(band))
                bands_->SubDetails.push_back(sub);
            break;
        default: break;  // group footers, children and overlays print with their owners
        }
    }
    // A sub-detail's header is printed by its sub-detail, not as a group.
    for (TQRSubDetail* sub : bands_->SubDetails)
        std::erase(bands_->Groups, sub->HeaderBand());
}

TQRReportRunner::~TQRReportRunner()
{
    EndRun();
}

bool TQRReportRunner::Run(TQRPreparedReport& out)
{
    Start(out);
    while (Step()) {
    }
    return finished_;
}

void TQRReportRunner::Start(TQRPreparedReport& out)
{
    EndRun();
    // A start that fails closes what it opened so far.
    TScopeExit failed([this] { EndRun(); });
    out = TQRPreparedReport();
    out.PaperWidth = MMToPixels(report_->Page()->Width());
    out.PaperLength = MMToPixels(report_->Page()->Length());
    out.Font->Assign(report_->Font());
    out_ = &out;
    finished_ = false;
    phase_ = TPhase::Begin;
    // Fields exist once a data set is open, so the data sets the bands run
    // over open before the expressions are parsed.
    OpenDataSets();
    printer_.Prepare(bands_->Elements);
    bands_->OutsideElements.clear();
    bands_->GroupValues.clear();
    for (TQRGroup* group : bands_->Groups)
        bands_->GroupValues.push_back(std::make_unique<TQRGroupValue>(group->Expression(), report_));
    state_ = TQRRunState();
    TDataSet* ds = report_->DataSet();
    state_.DataSet = ds;
    if (ds && ds->IsEmpty() && !report_->PrintIfEmpty())
        phase_ = TPhase::End;
    failed.Dismiss();
}

bool TQRReportRunner::Step()
{
    if (phase_ == TPhase::Done)
        return false;
    // Whatever ends the run here (its last piece, a stop, an error) closes
    // what it opened.
    TScopeExit ended([this] { EndRun(); });
    try {
        StepPhase();
    } catch (const TStop&) {
        return false;
    }
    if (phase_ != TPhase::Done) {
        ended.Dismiss();
        return true;
    }
    finished_ = true;
    return false;
}

void TQRReportRunner::StepPhase()
{
    switch (phase_) {
    case TPhase::Begin: Begin(); break;
    case TPhase::Records: PrintNextRecord(); break;
    case TPhase::End:
        if (state_.PageNumber > 0) {
            PrintBand(bands_->Summary);
            FinishPage(true);
        }
        phase_ = TPhase::Done;
        break;
    case TPhase::Done: break;
    }
}

void TQRReportRunner::Begin()
{
    StartPage();
    PrintBand(bands_->Title);
    if (bands_->ColumnHeader && state_.PageNumber == 1)
        PrintBand(bands_->ColumnHeader);
    columnTop_ = columnBottom_ = y_;
    groupValues_.assign(bands_->Groups.size(), QString());
    if (TDataSet* ds = report_->DataSet())
        ds->First();
    phase_ = TPhase::Records;
}

void TQRReportRunner::PrintNextRecord()
{
    TDataSet* ds = report_->DataSet();
    if (!ds) {
        // Without a data set the detail prints once.
        printer_.AccumulateAll();
        state_.DetailNo = 1;
        PrintBand(bands_->Detail);
        PrintSubDetails(report_);
        phase_ = TPhase::End;
        return;
    }
    // The step moves to its record first: between steps the current record
    // is the one printed last.
    const bool first = state_.DetailNo == 0;
    if (!first)
        ds->Next();
    if (ds->Eof()) {
        if (!first)
            PrintGroupFooters(0);
        phase_ = TPhase::End;
        return;
    }
    CheckGroups(first);
    printer_.AccumulateAll();
    ++state_.DetailNo;
    PrintBand(bands_->Detail);
    PrintSubDetails(report_);
}

void TQRReportRunner::EndRun()
{
    phase_ = TPhase::Done;
    painter_.reset();
    out_ = nullptr;
    for (TDataSet* ds : std::exchange(opened_, {}))
        ds->Close();
}

void TQRReportRunner::Lost(TComponent* component)
{
    std::erase(opened_, component);
    EndRun();
}

void TQRReportRunner::OpenDataSets()
{
    std::vector<TDataSet*> used{report_->DataSet()};
    for (TQRSubDetail* sub : bands_->SubDetails)
        used.push_back(sub->DataSet());
    for (TDataSet* ds : used) {
        if (!ds)
            continue;
        watch_->FreeNotification(ds);
        if (!ds->Active()) {
            ds->Open();
            opened_.push_back(ds);
        }
    }
}

void TQRReportRunner::CheckGroups(bool first)
{
    size_t changed = bands_->Groups.size();
    for (size_t i = 0; i < bands_->Groups.size(); ++i) {
        const QString value = bands_->GroupValues[i]->Current();
        if (changed == bands_->Groups.size() && (first || value != groupValues_[i]))
            changed = i;
        groupValues_[i] = value;
    }
    if (changed == bands_->Groups.size())
        return;
    if (!first) {
        // The footers close the group of the record before: they print its values.
        TDataSet* ds = report_->DataSet();
        ds->Prior();
        PrintGroupFooters(changed);
        ds->Next();
    }
    for (size_t i = changed; i < bands_->Groups.size(); ++i)
        PrintBand(bands_->Groups[i]);
}

void TQRReportRunner::PrintGroupFooters(size_t fromLevel)
{
    for (size_t i = bands_->Groups.size(); i > fromLevel; --i)
        PrintBand(bands_->Groups[i - 1]->FooterBand());
}

void TQRReportRunner::PrintSubDetails(TComponent* master)
{
    for (TQRSubDetail* sub : bands_->SubDetails) {
        TComponent* subMaster = sub->Master() ? sub->Master() : report_;
        TDataSet* ds = sub->DataSet();
        if (subMaster != master || !ds)
            continue;
        ds->First();
        if (ds->Eof() && !sub->PrintIfEmpty())
            continue;
        PrintBand(sub->HeaderBand());
        for (; !ds->Eof(); ds->Next()) {
            PrintBand(sub);
            PrintSubDetails(sub);
        }
        PrintBand(sub->FooterBand());
    }
}

void TQRReportRunner::StartPage()
{
    ++state_.PageNumber;
    picture_ = QPicture();
    painter_ = std::make_unique<QPainter>(&picture_);
    painter_->setRenderHint(QPainter::TextAntialiasing);
    texts_.clear();
    pageHasRecords_ = false;
    column_ = 0;
    y_ = MMToPixels(report_->Page()->TopMargin());
    footerTop_ = MMToPixels(report_->Page()->Length() - report_->Page()->BottomMargin()) -
                 ChainHeight(bands_->PageFooter);
    if (bands_->PageHeader && (state_.PageNumber > 1 || report_->Options().Contains(FirstPageHeader)))
        PrintBand(bands_->PageHeader);
    if (state_.PageNumber > 1)
        PrintBand(bands_->ColumnHeader);
    columnTop_ = columnBottom_ = y_;
}

void TQRReportRunner::FinishPage(bool lastPage)
{
    if (bands_->PageFooter && (!lastPage || report_->Options().Contains(LastPageFooter))) {
        y_ = footerTop_;
        column_ = 0;
        footerTop_ = out_->PaperLength;  // the footer itself always fits
        PrintBand(bands_->PageFooter);
    }
    painter_->end();
    painter_.reset();
    out_->AddPage({std::move(picture_), std::move(texts_)});
    texts_ = {};
    if (OnPageReady && !OnPageReady(*out_))
        throw TStop();
}

double TQRReportRunner::ChainHeight(TQRCustomBand* band) const
{
    double height = 0;
    // a disabled band is not printed, nor are the children after it
    for (; band && band->Enabled(); band = ChildOf(band))
        height += band->BandHeight();
    return height;
}

bool TQRReportRunner::IsColumnar(const TQRCustomBand* band) const
{
    if (report_->Page()->Columns() <= 1)
        return false;
    for (const TQRCustomBand* b = band; b;) {
        const TQRBandType t = b->BandType();
        if (t == rbDetail || t == rbSubDetail || t == rbGroupHeader || t == rbGroupFooter)
            return true;
        auto* child = dynamic_cast<const TQRChildBand*>(b);
        b = child ? child->ParentBand() : nullptr;
    }
    return false;
}

double TQRReportRunner::ColumnWidth() const
{
    const TQRPage* page = report_->Page();
    return (BandWidth() - MMToPixels(page->ColumnSpace()) * (page->Columns() - 1)) / page->Columns();
}

double TQRReportRunner::ColumnLeft() const
{
    const TQRPage* page = report_->Page();
    return MMToPixels(page->LeftMargin()) + column_ * (ColumnWidth() + MMToPixels(page->ColumnSpace()));
}

double TQRReportRunner::BandWidth() const
{
    const TQRPage* page = report_->Page();
    return MMToPixels(page->Width() - page->LeftMargin() - page->RightMargin());
}

double TQRReportRunner::PrintedWidth(const TQRCustomBand* band) const
{
    return IsColumnar(band) ? ColumnWidth() : BandWidth();
}

TQRCustomBand* TQRReportRunner::ChildOf(const TQRCustomBand* band) const
{
    if (!bands_->BandElements.contains(band))  // a band of another report
        return band->ChildBand();
    const auto child = bands_->Children.find(band);
    return child == bands_->Children.end() ? nullptr : child->second;
}

const std::vector<TQRPrintable*>& TQRReportRunner::ElementsOf(const TQRCustomBand* band) const
{
    if (auto own = bands_->BandElements.find(band); own != bands_->BandElements.end())
        return own->second;
    auto [it, added] = bands_->OutsideElements.try_emplace(band);
    if (added)
        it->second = band->Printables();
    return it->second;
}

double TQRReportRunner::MeasureBand(TQRCustomBand* band, std::vector<TQRElementLayout>& layouts) const
{
    double height = band->BandHeight();
    const double width = PrintedWidth(band);
    for (TQRPrintable* element : ElementsOf(band)) {
        layouts.push_back(printer_.Measure(element, state_, width));
        height = std::max(height, element->Size().top() + layouts.back().Height);
    }
    return height;
}

void TQRReportRunner::PrintBand(TQRCustomBand* band)
{
    if (!band || !band->Enabled())
        return;
    const TQRBandType type = band->BandType();
    const bool header = type == rbPageHeader || type == rbPageFooter || type == rbColumnHeader || type == rbTitle;
    if (band->ForceNewPage() && pageHasRecords_ && type != rbPageFooter) {
        FinishPage(false);
        StartPage();
    }
    std::vector<TQRElementLayout> layouts;
    double height = MeasureBand(band, layouts);
    if (PlaceBand(band, height)) {
        // Page numbers and the like differ on the new page.
        layouts.clear();
        height = MeasureBand(band, layouts);
    }
    const bool columnar = IsColumnar(band);
    if (!columnar && column_ > 0) {
        y_ = std::max(y_, columnBottom_);
        column_ = 0;
    }
    const QPointF origin(columnar ? ColumnLeft() : MMToPixels(report_->Page()->LeftMargin()), y_);
    DrawBand(band, origin, height, layouts);
    y_ += height;
    columnBottom_ = std::max(columnBottom_, y_);
    pageHasRecords_ = pageHasRecords_ || !header;
    for (TQRPrintable* element : ElementsOf(band))
        printer_.AfterPrint(element);
    PrintBand(ChildOf(band));
}

bool TQRReportRunner::PlaceBand(TQRCustomBand* band, double height)
{
    const bool atPageTop = !pageHasRecords_ && column_ == 0;
    if (y_ + height <= footerTop_ || band->BandType() == rbPageHeader || band->BandType() == rbPageFooter)
        return false;
    if (IsColumnar(band) && column_ + 1 < report_->Page()->Columns()) {
        ++column_;
        y_ = columnTop_;
        return false;
    }
    // A band taller than an empty page prints there anyway rather than never.
    if (atPageTop && y_ <= columnTop_)
        return false;
    FinishPage(false);
    StartPage();
    return true;
}

void TQRReportRunner::DrawBand(TQRCustomBand* band, const QPointF& origin, double height,
                               const std::vector<TQRElementLayout>& layouts)
{
    const double width = PrintedWidth(band);
    const QRectF rect(origin, QSizeF(width, height));
    if (band->Color() != clWhite && band->Color() != clNone)
        painter_->fillRect(rect, ColorToQColor(band->Color()));
    const std::vector<TQRPrintable*>& elements = ElementsOf(band);
    for (size_t i = 0; i < elements.size(); ++i)
        printer_.Print(elements[i], layouts[i], origin, width, *painter_, texts_);
    band->Frame()->Paint(*painter_, rect);
}
