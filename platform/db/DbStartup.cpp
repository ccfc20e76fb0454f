#include "DbStartup.h"
#include "Query.h"
#include "Table.h"
#include "classes/ClassRegistry.h"

void StartDb()
{
    static bool started = false;
    if (started)
        return;
    started = true;
    RegisterClasses({TDataSource::ClassInfo(), TTable::ClassInfo(), TQuery::ClassInfo()});
    for (TClass cls : FieldClasses())
        RegisterClass(cls);
}

void StopDb() {}
