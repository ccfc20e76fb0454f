#include "designer/DataSetLists.h"
#include "db/DataSet.h"
#include "db/DataSource.h"
#include "engine/Bands.h"
#include "forms/Forms.h"

namespace {
// Appends the components of one owner that are of the class; withObjects
// says whether each entry carries its component.
void Collect(TStringList* list, TComponent* owner, TClass cls, bool withObjects)
{
    const int count = owner->ComponentCount();
    for (int i = 0; i < count; ++i) {
        TComponent* c = owner->Components(i);
        if (c->InheritsFrom(cls))
            list->AddObject(c->Name(), withObjects ? c : nullptr);
    }
}

TStringList* CollectAll(TComponent* owner, bool includeDataModules, TClass cls)
{
    auto* list = new TStringList();
    if (owner)
        Collect(list, owner, cls, true);
    if (includeDataModules) {
        const int modules = Screen->GetDataModuleCount();
        for (int i = 0; i < modules; ++i)
            Collect(list, Screen->GetDataModule(i), cls, true);
    }
    return list;
}
}  // namespace

TStringList* AllDataSets(TComponent* owner, bool includeDataModules)
{
    return CollectAll(owner, includeDataModules, TDataSet::ClassInfo());
}

TStringList* AllDataSources(TComponent* owner, bool includeDataModules)
{
    return CollectAll(owner, includeDataModules, TDataSource::ClassInfo());
}

TStringList* allsubdetail(TComponent* owner)
{
    auto* list = new TStringList();
    if (owner)
        Collect(list, owner, TQRSubDetail::ClassInfo(), false);
    return list;
}
