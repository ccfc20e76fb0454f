#include "BuilderFixture.h"

#include "classes/Published.h"

VK_PUBLISHED(TMemoryTable) {}
VK_PUBLISHED(TWitness) {}

void TWitness::Notification(TComponent* c, TOperation op)
{
    TComponent::Notification(c, op);
    if (op == opRemove)
        Gone.push_back(c);
}

bool TWitness::SawGo(const TComponent* c) const
{
    return std::find(Gone.begin(), Gone.end(), c) != Gone.end();
}

void BuilderTest::SetUp()
{
    Form = New<TForm>(nullptr);
    Witness = New<TWitness>(nullptr);
}

void BuilderTest::TearDown()
{
    Form->Free();
    Witness->Free();
}

TMemoryTable* BuilderTest::MakeTable(std::initializer_list<const char*> names)
{
    auto* table = New<TMemoryTable>(Form);
    TRecord row;
    for (const char* name : names) {
        table->Data.Defs.push_back({QString::fromUtf8(name), ftString, 10, 0});
        row.push_back(QStringLiteral("v"));
    }
    table->Data.Rows.push_back(row);
    table->Open();
    return table;
}

std::vector<TComponent*> BuilderTest::OwnedByForm() const
{
    std::vector<TComponent*> list;
    for (int i = 0; i < Form->ComponentCount(); ++i)
        list.push_back(Form->Components(i));
    return list;
}

TQRCustomBand* Band(TQuickRep* report, TQRBandType type)
{
    return report->FirstBandOfType(type);
}

namespace {
template <class T>
std::vector<T*> ElementsOn(TQRCustomBand* band)
{
    std::vector<T*> list;
    if (band)
        for (TQRPrintable* p : band->Printables())
            if (auto* t = dynamic_cast<T*>(p))
                list.push_back(t);
    return list;
}
}  // namespace

std::vector<TQRLabel*> HeaderLabels(TQuickRep* report)
{
    return ElementsOn<TQRLabel>(Band(report, rbColumnHeader));
}

std::vector<TQRExpr*> DetailExprs(TQuickRep* report)
{
    return ElementsOn<TQRExpr>(Band(report, rbDetail));
}

std::vector<QString> Expressions(TQuickRep* report)
{
    std::vector<QString> list;
    for (TQRExpr* e : DetailExprs(report))
        list.push_back(e->Expression());
    return list;
}

double XWidth(const TQRLabel* label, int count)
{
    return label->TextExtent(QString(count, QLatin1Char('X'))).width();
}
