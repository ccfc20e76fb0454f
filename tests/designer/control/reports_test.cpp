// The report lifecycle and the *.QR layout files.
#include "DesignerHost.h"
#include "classes/Streaming.h"
#include "db/DataSource.h"
#include "db/Table.h"
#include "dialogs/Dialogs.h"
#include "engine/dialogs/CompEd.h"
#include "engine/dialogs/DataSetup.h"
#include "DialogHands.h"
#include "EventCount.h"
#include "UserInput.h"

#include <QDir>
#include <QWidget>

#include <cmath>
#include <QFile>
#include <QFileInfo>

namespace {

struct TLifecycle : ::testing::Test {
    void SetUp() override
    {
        host.Resize(544, 345);
        host.RecordEvents();
        Modal::ClearMessages();
    }
    TVornak* V() const { return host.Vornak; }
    void ExpectNoReport() const
    {
        EXPECT_EQ(V()->Report(), nullptr);
        EXPECT_EQ(V()->FileName, "Untitled");
        EXPECT_EQ(V()->Active(), nullptr);
        EXPECT_FALSE(V()->QuickRepToolbar->Visible());
    }
    // the message a report that cannot be opened leaves (the demo build's is Italian)
    static QString OpenFailure(const QString& path)
    {
#ifdef VK_DEMO_BUILD
        return "Errore durante l'apertura del report" + path;
#else
        return "Error reading file " + path;
#endif
    }
    static void WriteFile(const QString& path, const QByteArray& data)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
    }
    THost host;
};

// A report that holds a band of every kind and an element of every kind
// the designer places, over a table.
void FillReport(TQuickRep* report)
{
    TComponent* owner = report->Owner();
    TTable* table = New<TTable>(owner);
    table->SetName("Table1");
    table->SetTableName("ORDERS.DB");
    TDataSource* source = New<TDataSource>(owner);
    source->SetName("DataSource1");
    report->SetDataSet(table);
    report->SetReportTitle("Orders");
    for (TQRBandType type : {rbTitle, rbPageHeader, rbColumnHeader, rbDetail, rbSummary, rbPageFooter})
        report->CreateBand(type);
    report->CreateBand(rbGroupHeader);
    report->CreateBand(rbSubDetail);
    TQRCustomBand* title = report->FirstBandOfType(rbTitle);
    title->SetHasChild(true);
    title->Frame()->SetDrawTop(true);
#ifdef VK_DEMO_BUILD
    // the demo build registers no label class: its layouts hold expressions
    title->AddPrintable(TQRExpr::ClassInfo())->SetCaption("Vornak ");
#else
    title->AddPrintable(TQRLabel::ClassInfo())->SetCaption("Vornak ");
#endif
    TQRCustomBand* detail = report->FirstBandOfType(rbDetail);
    for (TClass cls : {TQRExpr::ClassInfo(), TQRShape::ClassInfo(), TQRMemo::ClassInfo(), TQRSysData::ClassInfo(),
                       TQRImage::ClassInfo(), TQRDBImage::ClassInfo(), TQRDBText::ClassInfo()})
        detail->AddPrintable(cls);
    static_cast<TQRExpr*>(detail->Printables()[0])->SetExpression("ORDERS.AmountPaid");
    static_cast<TQRMemo*>(detail->Printables()[2])->Lines()->SetText("two\r\nlines\r\n");
}

// The shown control with the caption in the window, as the user finds it
// (the package hides the toolbars' classes from its hosts).
TControl* ShownWithCaption(TWinControl* parent, const QString& caption)
{
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* control = parent->Controls(i);
        if (!control->Visible())
            continue;
        if (control->Caption() == caption)
            return control;
        if (auto* inner = dynamic_cast<TWinControl*>(control))
            if (TControl* found = ShownWithCaption(inner, caption))
                return found;
    }
    return nullptr;
}

}  // namespace

TEST_F(TLifecycle, NewAndCloseFireTheirEventsInOrder)
{
    V()->NewReport();
    EXPECT_EQ(host.Events, QStringList({"new", "select"}));
    EXPECT_EQ(V()->Report()->Owner(), ReportForm);
    EXPECT_EQ(V()->Report()->Parent(), V()->ReportPanel);
    EXPECT_TRUE(V()->QuickRepToolbar->Visible());
    host.Events.clear();
    // both handlers still see the report open
    V()->OnNewReport = TNotifyEvent([&](TObject*) { host.Events << (V()->Editing() ? "new open" : "new"); });
    V()->OnCloseReport = TNotifyEvent([&](TObject*) { host.Events << (V()->Editing() ? "close open" : "close"); });
    V()->NewReport();
    EXPECT_EQ(host.Events, QStringList({"new open", "close open", "select"}));
    EXPECT_EQ(V()->FileName, "Untitled");
    host.Events.clear();
    V()->CloseReport();
    V()->CloseReport();
    EXPECT_EQ(host.Events, QStringList({"close open"}));
    ExpectNoReport();
    // nothing to act on without a report
    V()->SaveReport();
    V()->blockreport();
    EXPECT_EQ(host.Events.size(), 1);
}

TEST_F(TLifecycle, SaveAsksForANameOnlyOnce)
{
    V()->NewReport();
    host.Events.clear();
    {
        TModalLog cancelled;
        V()->SaveReport();
        ASSERT_EQ(cancelled.Requests.size(), 1u);
        EXPECT_EQ(cancelled.Requests[0].Kind, TModalKind::SaveDialog);
        EXPECT_EQ(cancelled.FileDialogs, QStringList({"Report|*.QR;QR;TApplication"}));
    }
    EXPECT_EQ(V()->FileName, "Untitled");
    EXPECT_TRUE(host.Events.isEmpty());

    const QString path = ScratchPath("first.QR");
    {
        TModalLog confirmed(mrOk, path);
        V()->SaveReport();
        V()->SaveReport();  // the second goes to the same file without asking
        EXPECT_EQ(confirmed.Requests.size(), 1u);
    }
    EXPECT_EQ(V()->FileName, path);
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(host.Events.count("save"), 2);

    host.Events.clear();
    V()->SaveReportFile(QString());
    EXPECT_TRUE(host.Events.isEmpty());
    EXPECT_EQ(V()->FileName, path);

    // a file named like the placeholder is written, yet the next save asks again
    const QString previous = QDir::currentPath();
    const QString folder = QFileInfo(ScratchPath("x")).path();
    ASSERT_TRUE(QDir::setCurrent(folder));
    V()->SaveReportFile("Untitled");
    QDir::setCurrent(previous);
    EXPECT_TRUE(QFile::exists(folder + "/Untitled"));
    TModalLog asked;
    V()->SaveReport();
    EXPECT_EQ(asked.Requests.size(), 1u);
}

TEST_F(TLifecycle, SavingWritesTheReportAtTheOriginAndSelectsIt)
{
    host.NewReport();
    TControl* label = host.Place(TQRLabel::ClassInfo());
    V()->VertScrollBar->Scroll(scPageDown, 60);
    V()->VertScrollBar->Scroll(scEndScroll, 60);
    ASSERT_EQ(V()->Report()->Top(), -60);
    THost::Click(label);
    QString nameSeen;
    V()->OnSaveReport = TNotifyEvent([&](TObject*) { nameSeen = V()->FileName; });
    const QString path = ScratchPath("scrolled.QR");
    V()->SaveReportFile(path);
    EXPECT_EQ(nameSeen, path);
    EXPECT_EQ(V()->Report()->BoundsRect().topLeft(), QPoint(0, 0));
    EXPECT_EQ(V()->Report()->Parent(), V()->ReportPanel);
    EXPECT_EQ(V()->VertScrollBar->Position(), 60);  // until the next scroll
    EXPECT_EQ(V()->Designer->Selected(), V()->Report());
    EXPECT_EQ(V()->Active(), V()->Report());
    const QString text = ObjectResourceToText(ReadStreamFile(path));
    EXPECT_TRUE(text.startsWith("object "));
    EXPECT_FALSE(text.contains("Top = -60"));
}

TEST_F(TLifecycle, AReportWithEveryKindOfPartComesBackEqual)
{
    host.NewReport();
    FillReport(V()->Report());
    const QString path = ScratchPath("every.QR");
    V()->SaveReportFile(path);
    const QString written = ObjectResourceToText(ReadStreamFile(path));
    host.Events.clear();
    V()->NewReport();
    V()->OpenReportFile(path);
    EXPECT_EQ(host.Events.mid(host.Events.size() - 2), QStringList({"select", "open"}));
    ASSERT_TRUE(V()->Editing()) << Modal::Messages().join('|').toStdString();
    EXPECT_EQ(ReportForm->Components(0), V()->Report());
    EXPECT_EQ(V()->FileName, path);
    V()->SaveReportFile(path);
    EXPECT_EQ(ObjectResourceToText(ReadStreamFile(path)).toStdString(), written.toStdString());
    // the child band still follows the title band, which had no name of its own
    EXPECT_EQ(V()->Report()->FirstBandOfType(rbTitle)->ChildBand(), V()->Report()->FirstBandOfType(rbChild));
    EXPECT_NE(V()->Report()->FirstBandOfType(rbChild), nullptr);
    EXPECT_EQ(V()->Report()->DataSet(), ReportForm->FindComponent("Table1"));
}

// A child band the user adds with the band toolbar's box, to a band the
// designer made without a name, still follows that band once the saved layout
// is opened again.
TEST_F(TLifecycle, AChildBandTheUserAddsFollowsItsBandWhenOpenedAgain)
{
    host.NewReport();
    THost::Click(host.Band(rbTitle));
    TControl* childBox = ShownWithCaption(host.Form, QStringLiteral("Child"));
    ASSERT_NE(childBox, nullptr);
    user::Click(childBox);
    ASSERT_NE(host.Band(rbTitle)->ChildBand(), nullptr);
    const QString path = ScratchPath("child.QR");
    V()->SaveReportFile(path);
    V()->NewReport();
    V()->OpenReportFile(path);
    const std::vector<TQRCustomBand*> bands = V()->Report()->BandList();
    ASSERT_EQ(bands.size(), 3u);
    EXPECT_EQ(bands[0]->BandType(), rbTitle);
    EXPECT_EQ(bands[1], bands[0]->ChildBand());
}

// Saving writes the layout as the report form holds it once the report is
// moved onto it, yet leaves the report's windows where they are shown; a form
// that would hand the report another font has it moved there to be written.
TEST_F(TLifecycle, SavingWritesWhatTheFormWouldHoldWithoutMovingTheWindows)
{
    host.NewReport();
    FillReport(V()->Report());
    TPanel* formControl = New<TPanel>(ReportForm);
    formControl->SetName("Panel1");
    formControl->SetParent(ReportForm);
    TControl* label = V()->Report()->FirstBandOfType(rbTitle)->Printables()[0];
    label->SetCaption("A longer caption to measure");
    const auto savedAsWhenMoved = [&](const QString& path) {
        TQuickRep* report = V()->Report();
        V()->Designer->StopEdit();
        report->SetParent(ReportForm);
        report->SetTop(0);
        report->SetLeft(0);
        const QByteArray onTheForm = WriteComponentRes(ReportForm);
        report->SetParent(V()->ReportPanel);
        V()->Designer->Edit(report);
        return ReadStreamFile(path) == onTheForm;
    };

    TEventCount hides(QEvent::Hide), shows(QEvent::Show);
    label->Widget()->installEventFilter(&hides);
    label->Widget()->installEventFilter(&shows);
    host.Events.clear();
    const QString path = ScratchPath("in-place.QR");
    V()->SaveReportFile(path);
    EXPECT_EQ(host.Events, QStringList({"save", "select"}));
    EXPECT_EQ(hides.Count, 0);
    EXPECT_EQ(shows.Count, 0);
    EXPECT_EQ(V()->Report()->Parent(), V()->ReportPanel);
    EXPECT_TRUE(savedAsWhenMoved(path));

    ReportForm->Font()->SetSize(24);
    V()->SaveReportFile(path);
    EXPECT_EQ(V()->Report()->Parent(), V()->ReportPanel);
    EXPECT_TRUE(savedAsWhenMoved(path));
    formControl->Free();
}

TEST_F(TLifecycle, AHandWrittenLayoutOpensAsAReport)
{
    const QString path = ScratchPath("hand.QR");
    WriteFile(path, ObjectTextToResource("object Form1: TForm\n"
                                         "  object QuickRep1: TQuickRep\n"
                                         "    ReportTitle = 'By hand'\n"
                                         "    object DetailBand1: TQRBand\n"
                                         "      BandType = rbDetail\n"
                                         "      object QRShape1: TQRShape\n"
                                         "        Shape = qrsCircle\n"
                                         "      end\n"
                                         "    end\n"
                                         "  end\n"
                                         "end\n"));
    V()->OpenReportFile(path);
    ASSERT_TRUE(V()->Editing()) << Modal::Messages().join('|').toStdString();
    EXPECT_EQ(V()->Report()->ReportTitle(), "By hand");
    EXPECT_NE(V()->Report()->FirstBandOfType(rbDetail), nullptr);
    EXPECT_TRUE(Modal::Messages().isEmpty());
}

TEST_F(TLifecycle, FilesThatHoldNoReportLeaveTheControlWithout)
{
    const QString good = ScratchPath("good.QR");
    host.NewReport();
    V()->SaveReportFile(good);
    const QByteArray bytes = ReadStreamFile(good);

    const QString truncated = ScratchPath("truncated.QR");
    WriteFile(truncated, bytes.left(bytes.size() / 2));
    const QString dataSetFirst = ScratchPath("table.QR");
    WriteFile(dataSetFirst, ObjectTextToResource("object Form1: TForm\n  object Table1: TTable\n  end\nend\n"));
    const QString unknown = ScratchPath("unknown.QR");
    WriteFile(unknown, ObjectTextToResource("object Form1: TForm\n  object X1: TNoSuchThing\n  end\nend\n"));
    const QString missing = ScratchPath("missing.QR");

    for (const QString& path : {missing, truncated, dataSetFirst, unknown}) {
        V()->OpenReportFile(good);
        ASSERT_TRUE(V()->Editing());
        THost::Click(V()->Report());
        Modal::ClearMessages();
        host.Events.clear();
        V()->OpenReportFile(path);
        EXPECT_EQ(Modal::Messages(), QStringList({OpenFailure(path)}));
        ExpectNoReport();
        EXPECT_TRUE(host.Events.isEmpty()) << path.toStdString();
    }
    // a handler's failure leaves the new report open under its name
    V()->OnOpenReport = TNotifyEvent([](TObject*) { throw EInvalidOperation("host"); });
    Modal::ClearMessages();
    V()->OpenReportFile(good);
    EXPECT_TRUE(V()->Editing());
    EXPECT_EQ(V()->FileName, good);
    EXPECT_EQ(Modal::Messages(), QStringList({OpenFailure(good)}));
}

// A saved layout whose shape width was changed: a width that is no number is
// refused like any unreadable file, an absurd one opens clamped and the
// designer shows it.
TEST_F(TLifecycle, ALayoutWithHostileGeometryIsRefusedOrClamped)
{
    host.NewReport();
    host.Place(TQRShape::ClassInfo(), rbDetail);
    const QString good = ScratchPath("shape.QR");
    V()->SaveReportFile(good);
    const auto withWidth = [&](double width) {
        TObjectNode root = ReadObjectData(ReadStreamFile(good));
        std::vector<TObjectNode*> pending{&root};
        while (!pending.empty()) {
            TObjectNode* node = pending.back();
            pending.pop_back();
            for (auto& [name, value] : node->Properties)
                if (node->ClassName == "TQRShape" && name == "Size.Width")
                    value = TValue::Extended(width);
            for (TObjectNode& child : node->Children)
                pending.push_back(&child);
        }
        const QString path = ScratchPath(QStringLiteral("shape-%1.QR").arg(width));
        WriteFile(path, WrapResource(WriteObjectStream(root), root.ClassName));
        return path;
    };

    const QString notANumber = withWidth(std::nan(""));
    V()->OpenReportFile(notANumber);
    EXPECT_EQ(Modal::Messages(), QStringList({OpenFailure(notANumber)}));
    ExpectNoReport();

    Modal::ClearMessages();
    V()->OpenReportFile(withWidth(1.93e25));
    ASSERT_TRUE(V()->Editing()) << Modal::Messages().join('|').toStdString();
    const auto elements = V()->Report()->FirstBandOfType(rbDetail)->Printables();
    ASSERT_EQ(elements.size(), 1u);
    EXPECT_EQ(elements[0]->Size().width(), MaxReportExtent);
    EXPECT_EQ(elements[0]->Width(), RoundPx(MaxReportExtent * V()->Report()->Zoom() / 100));
    EXPECT_FALSE(host.Form->Widget()->grab().isNull());
}

TEST_F(TLifecycle, OpenAsksForAFileFirst)
{
    host.NewReport();
    const QString path = ScratchPath("asked.QR");
    V()->SaveReportFile(path);
    V()->NewReport();
    host.Events.clear();
    {
        TModalLog cancelled;
        V()->OpenReport();
        ASSERT_EQ(cancelled.Requests.size(), 1u);
        EXPECT_EQ(cancelled.Requests[0].Kind, TModalKind::OpenDialog);
        EXPECT_EQ(cancelled.FileDialogs, QStringList({"Report|*.QR;;TApplication"}));
    }
    EXPECT_TRUE(host.Events.isEmpty());
    EXPECT_EQ(V()->FileName, "Untitled");
    {
        TModalLog confirmed(mrOk, path);
        V()->OpenReport();
    }
    EXPECT_EQ(V()->FileName, path);
    EXPECT_EQ(host.Events, QStringList({"select", "open"}));
}

// The open dialog takes a typed name of a missing file; the failed read then
// says so in the designer's own words.
TEST_F(TLifecycle, OpenTakesATypedNameOfAMissingFile)
{
    host.NewReport();
    const QString missing = ScratchPath("never-saved.QR");
    TDialogHands hands;
    TModalScope scope([&](TModalRequest& request) {
        if (request.Kind != TModalKind::OpenDialog)
            return int(mrOk);
        return hands.Run<QFileDialog>(request, [&](QFileDialog& qt) {
            FileDialogHands::Type(qt, missing);
            FileDialogHands::Accept(qt);
        });
    });
    V()->OpenReport();
    EXPECT_TRUE(hands.OwnBoxes.isEmpty()) << hands.OwnBoxes.join('|').toStdString();
    EXPECT_EQ(Modal::Messages(), QStringList({OpenFailure(missing)}));
    ExpectNoReport();
}

TEST_F(TLifecycle, AdoptedHostFormsAreEditedInPlace)
{
    TForm* hostForm = New<TForm>(Application);
    TQuickRep* hostReport = New<TQuickRep>(hostForm);
    TTable* hostTable = New<TTable>(hostForm);
    hostReport->SetDataSet(hostTable);
    V()->FileName = "kept.QR";
    V()->OpenQrform(hostForm);
    EXPECT_EQ(host.Events, QStringList({"select", "open"}));
    EXPECT_EQ(V()->Report(), hostReport);
    EXPECT_EQ(ReportForm, hostForm);
    EXPECT_EQ(V()->FileName, "kept.QR");
    hostReport->Bands()->SetHasTitle(true);
    // no form at all: refused, the host's report stays edited
    EXPECT_THROW(V()->OpenQrform(nullptr), EInvalidOperation);
    EXPECT_EQ(V()->Report(), hostReport);
    EXPECT_EQ(ReportForm, hostForm);

    // handed over again, as a host does on each activation: nothing changes
    host.Events.clear();
    V()->OpenQrform(hostForm);
    EXPECT_TRUE(host.Events.isEmpty());
    EXPECT_EQ(V()->Report(), hostReport);
    EXPECT_EQ(hostForm->ComponentCount(), 3);

    // a new report empties the host's form and lives on it
    V()->NewReport();
    EXPECT_EQ(hostForm->ComponentCount(), 1);
    EXPECT_EQ(V()->Report()->Owner(), hostForm);
    // and a file is read into the host's form
    const QString path = ScratchPath("adopted.QR");
    V()->Report()->SetReportTitle("On the host");
    V()->SaveReportFile(path);
    V()->Report()->SetReportTitle(QString());
    V()->OpenReportFile(path);
    ASSERT_TRUE(V()->Editing());
    EXPECT_EQ(V()->Report()->Owner(), hostForm);
    EXPECT_EQ(V()->Report()->ReportTitle(), "On the host");
    EXPECT_EQ(ReportForm, hostForm);

    // a form whose first component is not a report
    TForm* tableForm = New<TForm>(Application);
    New<TTable>(tableForm);
    EXPECT_THROW(V()->OpenQrform(tableForm), EInvalidCast);
    ExpectNoReport();
    EXPECT_EQ(hostForm->ComponentCount(), 0);
    EXPECT_EQ(tableForm->ComponentCount(), 1);
    TForm* emptyForm = New<TForm>(Application);
    EXPECT_THROW(V()->OpenQrform(emptyForm), EListError);
    ExpectNoReport();
    for (TForm* f : {hostForm, tableForm, emptyForm})
        f->Free();
}

TEST_F(TLifecycle, HandedReportsAreEditedAndNeverFreed)
{
    TForm* other = New<TForm>(Application);
    TQuickRep* given = New<TQuickRep>(other);
    host.NewReport();
    host.Events.clear();
    V()->OpenQRReport(given);
    EXPECT_EQ(host.Events, QStringList({"select", "select", "open"}));
    EXPECT_EQ(V()->Report(), given);
    EXPECT_EQ(given->Owner(), other);
    ASSERT_EQ(ReportForm->ComponentCount(), 1);
    auto* behind = dynamic_cast<TQuickRep*>(ReportForm->Components(0));
    ASSERT_NE(behind, nullptr);
    EXPECT_EQ(behind->Parent(), V()->ReportPanel);

    host.Events.clear();
    V()->OpenQRReport(given);  // the current report: nothing
    EXPECT_TRUE(host.Events.isEmpty());
    V()->OpenQRReport(behind);  // one the report form owns: edited, not emptied
    EXPECT_EQ(V()->Report(), behind);
    EXPECT_EQ(ReportForm->ComponentCount(), 1);
    EXPECT_EQ(host.Events.back(), "open");

    // a failed open drops a handed report too: the control is left without one
    V()->OpenQRReport(given);
    V()->FileName = "kept.QR";
    V()->OpenReportFile(ScratchPath("missing.QR"));
    ExpectNoReport();
    EXPECT_EQ(given->Owner(), other);
    other->Free();
}

TEST_F(TLifecycle, NewElementsAreArmedByClass)
{
    host.NewReport();
    V()->NewLabel();
#ifdef VK_DEMO_BUILD
    EXPECT_EQ(V()->Designer->ArmedClass(), TQRExpr::ClassInfo());
#else
    EXPECT_EQ(V()->Designer->ArmedClass(), TQRLabel::ClassInfo());
#endif
    TQRCustomBand* band = host.Band(rbDetail);
    band->MouseDown(mbLeft, {}, 20, 5);
    band->MouseUp(mbLeft, {}, 20, 5);
    ASSERT_EQ(band->Printables().size(), 1u);
    EXPECT_EQ(V()->Active(), band->Printables()[0]);
    // the new element can be seen and picked again
    EXPECT_GT(band->Printables()[0]->Width(), 0);
#ifdef VK_DEMO_BUILD
    EXPECT_TRUE(band->Printables()[0]->Is<TQRExpr>());
#else
    EXPECT_TRUE(band->Printables()[0]->Is<TQRLabel>());
#endif
    for (auto [arm, cls] : {std::pair{&TVornak::NewImage, TQRImage::ClassInfo()},
                            std::pair{&TVornak::NewMemo, TQRMemo::ClassInfo()},
                            std::pair{&TVornak::Newsysdata, TQRSysData::ClassInfo()}}) {
        (V()->*arm)();
        EXPECT_EQ(V()->Designer->ArmedClass(), cls);
    }
}

TEST_F(TLifecycle, TheEngineDialogsOpenForTheReportAndAreFreed)
{
    host.NewReport();
    New<TTable>(ReportForm)->SetName("Orders");
    TDataModule* module = New<TDataModule>(Application);
    New<TTable>(module)->SetName("Customers");
    New<TDataSource>(module)->SetName("CustomersSource");
    QStringList subjects, offered;
    TModalScope answer([&](TModalRequest& request) {
        subjects << request.Subject->ClassName();
        if (auto* settings = dynamic_cast<TQRCompEd*>(request.Subject))
            offered = settings->DataSet->Items()->Text().split("\r\n", Qt::SkipEmptyParts);
        return int(mrCancel);
    });
    const int applicationOwns = Application->ComponentCount(), controlOwns = V()->ComponentCount();
    V()->DataSetup();
    V()->ReportLayout();
    EXPECT_EQ(subjects, QStringList({"TQRDataSetup", "TQRCompEd"}));
    // the report's owner's data sets, then those of every data module
    EXPECT_EQ(offered, QStringList({"(none)", "Orders", "Customers"}));
    // both dialogs are gone: nothing of them is left with their owners
    EXPECT_EQ(Application->ComponentCount(), applicationOwns);
    EXPECT_EQ(V()->ComponentCount(), controlOwns);
    // a dialog that fails is freed on the way out
    {
        TModalScope failing([](TModalRequest&) -> int { throw EInvalidOperation("dialog"); });
        EXPECT_THROW(V()->DataSetup(), EInvalidOperation);
        EXPECT_THROW(V()->ReportLayout(), EInvalidOperation);
    }
    EXPECT_EQ(Application->ComponentCount(), applicationOwns);
    EXPECT_EQ(V()->ComponentCount(), controlOwns);
    module->Free();
    V()->CloseReport();
    V()->DataSetup();
    V()->ReportLayout();
    EXPECT_EQ(subjects.size(), 2);
}

TEST_F(TLifecycle, BlockingHidesAndShowsTheReport)
{
    host.NewReport();
    V()->blockreport();
    EXPECT_FALSE(V()->Report()->Visible());
    V()->sblockreport();
    EXPECT_TRUE(V()->Report()->Visible());
}

TEST(LayoutFiles, LoadedWithoutAControl)
{
    const QString path = ScratchPath("load.QR");
    {
        THost host;
        host.NewReport();
        host.Vornak->Report()->SetReportTitle("Loaded");
        host.Vornak->SaveReportFile(path);
    }
    Modal::ClearMessages();
    TQuickRep* report = QRLoadReport(path);
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(report->ReportTitle(), "Loaded");
    EXPECT_FALSE(report->Owner()->Is<TVornak>());
    QRFreeReport(report);
    QRFreeReport(nullptr);

    const QString tablePath = ScratchPath("table.QR");
    QFile f(tablePath);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(ObjectTextToResource("object Form1: TForm\n  object Table1: TTable\n  end\nend\n"));
    f.close();
    EXPECT_EQ(QRLoadReport(tablePath), nullptr);
    EXPECT_TRUE(Modal::Messages().isEmpty());
    EXPECT_EQ(QRLoadReport(ScratchPath("missing.QR")), nullptr);
    EXPECT_EQ(Modal::Messages(), QStringList({"Error loading report"}));
}
