// Layout files from anywhere: a saved layout whose geometry was changed opens
// the way the designer opens layouts (the file read onto a form) and either
// fails with a read error naming the value or gives clamped, sane geometry
// that then runs and prints.
#include "run_fixture.h"

#include "classes/ClassRegistry.h"
#include "classes/Streaming.h"
#include "engine/QRUtils.h"

#include <QImage>
#include <QWidget>
#include <QTemporaryDir>

#include <cmath>
#include <functional>
#include <limits>

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

TObjectNode* FindNode(TObjectNode& node, const QString& name)
{
    if (node.Name == name)
        return &node;
    for (TObjectNode& child : node.Children)
        if (TObjectNode* found = FindNode(child, name))
            return found;
    return nullptr;
}

TValue* FindProperty(TObjectNode& node, const QString& name)
{
    for (auto& [property, value] : node.Properties)
        if (property == name)
            return &value;
    return nullptr;
}

// One change to a saved layout and what reading it must give.
struct HostileCase {
    const char* Name;
    const char* Object;
    const char* Property;
    double Value;
    // Empty: reading must fail naming the property. Otherwise a check of the geometry read.
    std::function<void(TQuickRep* report, TComponent* form)> Check;
};

class HostileLayout : public RunTest {
protected:
    void SetUp() override
    {
        RunTest::SetUp();
        RegisterClasses({TQRLabel::ClassInfo(), TQRShape::ClassInfo()});
        title = AddBand(rbTitle, 30);
        detail = AddBand(rbDetail, 20);
        footer = AddBand(rbPageFooter, 20);
        AddText(title, QStringLiteral("Hostile"), 10, 5);
        auto* shape = New<TQRShape>(form);
        shape->SetParent(detail);
        shape->SetSize(QRectF(10, 2, 65, 16));
        for (int i = 0; i < form->ComponentCount(); ++i)
            if (form->Components(i)->Name().isEmpty())
                form->Components(i)->SetName(UniqueName(form, form->Components(i)->ClassName().mid(1)));
        report->SetName(QStringLiteral("Report"));
        title->SetName(QStringLiteral("Title"));
        detail->SetName(QStringLiteral("Detail"));
        footer->SetName(QStringLiteral("Footer"));
        shape->SetName(QStringLiteral("Shape"));
        file = dir.filePath(QStringLiteral("hostile.QR"));
        WriteComponentResFile(file, form);
        saved = ReadStreamFile(file);
    }

    // The saved layout with one property of one object set to value.
    QByteArray Changed(const QString& object, const QString& property, const TValue& value) const
    {
        TObjectNode root = ReadObjectData(saved);
        TObjectNode* node = FindNode(root, object);
        EXPECT_NE(node, nullptr) << object.toStdString();
        if (TValue* v = node ? FindProperty(*node, property) : nullptr)
            *v = value;
        else if (node)
            node->Properties.emplace_back(property, value);
        return WrapResource(WriteObjectStream(root), root.ClassName);
    }

    // Opens the bytes as the designer opens a layout file: read onto an empty form.
    TForm* Open(const QByteArray& layout)
    {
        WriteStreamFile(file, layout);
        TForm* opened = New<TForm>(nullptr);
        opened->SetBounds(0, 0, 900, 1200);
        try {
            ReadComponentResFile(file, opened);
        } catch (...) {
            Free(opened);
            throw;
        }
        return opened;
    }

    // Runs, prints and paints the report: nothing of it may be undefined.
    void RunPrintAndPaint(TQuickRep* opened)
    {
        TQRPreparedReport pages;
        TQRReportRunner(opened).Run(pages);
        EXPECT_FALSE(pages.Pages.empty());
        opened->PrinterSettings()->OutputFileName = dir.filePath(QStringLiteral("hostile.pdf"));
        opened->Print();
        opened->SetZoom(300);
        auto* owner = static_cast<TControl*>(opened->Owner());
        owner->Widget()->show();
        EXPECT_FALSE(owner->Widget()->grab().isNull());
    }

    QTemporaryDir dir;
    QString file;
    QByteArray saved;
    TQRCustomBand* title = nullptr;
    TQRCustomBand* detail = nullptr;
    TQRCustomBand* footer = nullptr;
};

void ExpectSaneBands(TQuickRep* report)
{
    double y = report->TopMarginPx();
    for (TQRCustomBand* band : report->BandList()) {
        EXPECT_TRUE(std::isfinite(band->BandHeight()));
        EXPECT_LE(band->BandHeight(), MaxReportExtent);
        EXPECT_EQ(band->Top(), RoundPx(y)) << band->Name().toStdString();
        y += band->BandHeight();
    }
}

TQuickRep* FirstReport(TComponent* form) { return dynamic_cast<TQuickRep*>(form->FindComponent(QStringLiteral("Report"))); }

TQRPrintable* Shape(TComponent* form) { return dynamic_cast<TQRPrintable*>(form->FindComponent(QStringLiteral("Shape"))); }

}  // namespace

TEST_F(HostileLayout, NonFiniteGeometryIsAReadErrorAndAbsurdGeometryIsClamped)
{
    const HostileCase cases[] = {
        {"shape width NaN", "Shape", "Size.Width", NaN, nullptr},
        {"shape height infinite", "Shape", "Size.Height", Inf, nullptr},
        {"shape left minus infinite", "Shape", "Size.Left", -Inf, nullptr},
        {"band height NaN", "Detail", "Size.Height", NaN, nullptr},
        {"page width NaN", "Report", "Page.Width", NaN, nullptr},
        {"page margin infinite", "Report", "Page.LeftMargin", Inf, nullptr},
        {"shape far to the left", "Shape", "Size.Left", -1e30,
         [](TQuickRep*, TComponent* f) {
             EXPECT_EQ(Shape(f)->Size().left(), -MaxReportExtent);
             EXPECT_EQ(Shape(f)->Left(), -int(MaxReportExtent));
         }},
        {"shape absurdly wide", "Shape", "Size.Width", 1.93e25,
         [](TQuickRep*, TComponent* f) {
             EXPECT_EQ(Shape(f)->Size().width(), MaxReportExtent);
             EXPECT_EQ(Shape(f)->Width(), int(MaxReportExtent));
         }},
        {"shape negative height", "Shape", "Size.Height", -5,
         [](TQuickRep*, TComponent* f) { EXPECT_EQ(Shape(f)->Size().height(), 0); }},
        {"band absurdly high", "Detail", "Size.Height", 1e300,
         [](TQuickRep* r, TComponent*) {
             EXPECT_EQ(r->FirstBandOfType(rbDetail)->BandHeight(), MaxReportExtent);
             ExpectSaneBands(r);
         }},
        {"page absurdly long", "Report", "Page.Length", 1e308,
         [](TQuickRep* r, TComponent*) {
             EXPECT_EQ(r->Page()->Length(), MaxReportExtentMM);
             EXPECT_LE(r->PageLengthPx(), MaxReportExtent + 1);
         }},
        {"margin absurdly wide", "Report", "Page.TopMargin", 1e20,
         [](TQuickRep* r, TComponent*) {
             EXPECT_EQ(r->Page()->TopMargin(), MaxReportExtentMM);
             ExpectSaneBands(r);
         }},
    };
    for (const HostileCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const QByteArray layout = Changed(QString::fromLatin1(c.Object), QString::fromLatin1(c.Property), TValue::Extended(c.Value));
        if (!c.Check) {
            try {
                Free(Open(layout));
                ADD_FAILURE() << "read without error";
            } catch (const EReadError& e) {
                EXPECT_TRUE(QString::fromUtf8(e.what()).contains(QString::fromLatin1(c.Property).section(u'.', -1)))
                    << e.what();
            }
            continue;
        }
        TForm* opened = Open(layout);
        TQuickRep* read = FirstReport(opened);
        ASSERT_NE(read, nullptr);
        c.Check(read, opened);
        RunPrintAndPaint(read);
        Free(opened);
    }
}

// Bounds in pixels come from a layout as well (a layout of another program
// may hold no zoom-independent rectangle): they are clamped the same way.
TEST_F(HostileLayout, AbsurdPixelBoundsAreClamped)
{
    TObjectNode root = ReadObjectData(saved);
    TObjectNode* shape = FindNode(root, QStringLiteral("Shape"));
    ASSERT_NE(shape, nullptr);
    std::erase_if(shape->Properties, [](const auto& p) { return p.first.startsWith(u"Size."); });
    for (auto& [name, value] : shape->Properties)
        if (name == u"Left" || name == u"Width")
            value = TValue::Integer(std::numeric_limits<qint32>::max());
    TForm* opened = Open(WrapResource(WriteObjectStream(root), root.ClassName));
    TQRPrintable* read = Shape(opened);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Size().left(), MaxReportExtent);
    EXPECT_EQ(read->Size().width(), MaxReportExtent);
    EXPECT_EQ(read->Left(), int(MaxReportExtent));
    RunPrintAndPaint(FirstReport(opened));
    Free(opened);
}

// One changed byte of a saved layout: the exponent of the shape's width.
TEST_F(HostileLayout, AChangedExponentByteGivesAClampedWidth)
{
    const auto width = DoubleToExtended(65);
    QByteArray property = QByteArray("\x0ASize.Width\x05", 12);
    property.append(reinterpret_cast<const char*>(width.data()), 10);
    const qsizetype at = saved.indexOf(property, saved.indexOf("TQRShape"));
    ASSERT_GE(at, 0);
    QByteArray layout = saved;
    layout[at + 12 + 8] = char(layout[at + 12 + 8] + 0x50);  // 65 * 2^80
    TForm* opened = Open(layout);
    EXPECT_EQ(Shape(opened)->Size().width(), MaxReportExtent);
    RunPrintAndPaint(FirstReport(opened));
    Free(opened);
}
