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
    // Tables make local date-times by the hundred thousand, and without TZ the
    // C library checks /etc/localtime again at every one; named, the same zone
    // is read once.
    if (!qEnvironmentVariableIsSet("TZ"))
        qputenv("TZ", ":/etc/localtime");
    RegisterClasses({TDataSource::ClassInfo(), TTable::ClassInfo(), TQuery::ClassInfo()});
    for (TClass cls : FieldClasses())
        RegisterClass(cls);
}

void StopDb() {}
