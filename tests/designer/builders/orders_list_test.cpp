// A list report of the sample orders table, generated in one call and
// exported to plain text as a whole.
#include "BuilderFixture.h"

#include "db/Table.h"
#include "designer/export/AsciiExportFilter.h"
#include "engine/preview/PreviewForm.h"
#include "forms/Modal.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

class OrdersListTest : public BuilderTest {
protected:
    void SetUp() override
    {
        BuilderTest::SetUp();
        Orders = New<TTable>(Form);
        Orders->SetDatabaseName("DBDEMOS");
        Orders->SetTableName("ORDERS.DB");
        Orders->Open();
        QRCreateList(Report, Form, Orders, "Orders", nullptr);
        ASSERT_NE(Report, nullptr);
    }

    // The report exported through the plain-text filter, as non-empty lines.
    QStringList ExportedLines()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("orders.txt");
        Report->ExportToFilter(new TQRAsciiExportFilter(path));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return QString::fromLatin1(file.readAll()).split(QRegularExpression("\r?\n"), Qt::SkipEmptyParts);
    }

    static QStringList PageFooters(const QStringList& lines)
    {
        return lines.filter(QRegularExpression("^\\s+Page \\d+$"));
    }

    TTable* Orders = nullptr;
    TQuickRep* Report = nullptr;
};

}  // namespace

TEST_F(OrdersListTest, ColumnsFollowTheFieldsAndStayOnTheLandscapePage)
{
    EXPECT_EQ(Report->Page()->Orientation(), poLandscape);
    const double bandWidth = Band(Report, rbDetail)->Size().width();
    const auto exprs = DetailExprs(Report);
    const auto labels = HeaderLabels(Report);
    ASSERT_EQ(exprs.size(), labels.size());
    ASSERT_GE(exprs.size(), 3u);
    EXPECT_LT(static_cast<int>(exprs.size()), Orders->FieldCount());  // not every column fits

    int fieldIndex = 0;
    for (size_t i = 0; i < exprs.size(); ++i) {
        SCOPED_TRACE(i);
        // columns come in field order, skipping only those that did not fit
        while (fieldIndex < Orders->FieldCount() &&
               exprs[i]->Expression() != "[" + Orders->Fields()->Fields(fieldIndex)->FieldName() + "]")
            ++fieldIndex;
        ASSERT_LT(fieldIndex, Orders->FieldCount());
        TField* field = Orders->Fields()->Fields(fieldIndex);
        EXPECT_EQ(labels[i]->Caption(), field->DisplayName());
        EXPECT_EQ(labels[i]->Size().width(), XWidth(labels[i], field->DisplayWidth()));
        EXPECT_EQ(exprs[i]->Alignment(), field->Alignment());
        EXPECT_LE(exprs[i]->Size().right(), bandWidth);
        if (i > 0) {
            EXPECT_GT(exprs[i]->Size().left(), exprs[i - 1]->Size().right());
        }
    }
    EXPECT_EQ(exprs[0]->Expression(), "[OrderNo]");
}

TEST_F(OrdersListTest, ExportsEveryOrderWithTitleHeadersAndPageNumbers)
{
    const QStringList lines = ExportedLines();
    EXPECT_EQ(lines.filter(QRegularExpression("^\\s+Orders$")).size(), 1);
    // the page footers number the pages from 1, right-aligned
    const QStringList footers = PageFooters(lines);
    ASSERT_GE(footers.size(), 2);
    for (int page = 0; page < footers.size(); ++page)
        EXPECT_EQ(footers[page].trimmed(), QStringLiteral("Page %1").arg(page + 1));
    const QString firstHeader = HeaderLabels(Report)[0]->Caption();
    EXPECT_GT(lines.filter(firstHeader).size(), 1);  // the column header repeats on each page

    // one line per order, each starting with its order number
    int records = 0;
    for (Orders->First(); !Orders->Eof(); Orders->Next()) {
        const QString orderNo = Orders->FieldByName("OrderNo")->DisplayText();
        records += lines.filter(QRegularExpression("^\\s*" + QRegularExpression::escape(orderNo) + "\\b")).size() > 0;
    }
    EXPECT_EQ(records, Orders->RecordCount());
}

TEST_F(OrdersListTest, PreviewPreparesThePagesTheExportNumbers)
{
    int previewPages = -1;
    TModalScope answer([&](TModalRequest& request) {
        if (auto* preview = dynamic_cast<TQRPreviewForm*>(request.Subject)) {
            EXPECT_TRUE(preview->PreparePages());
            previewPages = preview->PageCount();
        }
        return 0;
    });
    Report->Preview();
    EXPECT_EQ(previewPages, PageFooters(ExportedLines()).size());
}
