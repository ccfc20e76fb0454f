// dBase and Paradox tables as a report reads them: a table component opens
// the file from its folder (with the memo or blob file beside it) and every
// field of every record is shown.
#include "FuzzTargets.h"
#include "classes/Owned.h"
#include "db/Field.h"
#include "db/Table.h"

#include <QFileInfo>

namespace {

int OpenTable(const uint8_t* data, size_t size, const QString& tableName, const QString& memoName)
{
    QByteArray table, memo;
    UnpackTableInput(FuzzInput(data, size), table, memo);
    const QString path = FuzzScratchPath(tableName);
    WriteScratchFile(path, table);
    WriteScratchFile(FuzzScratchPath(memoName), memo);

    TOwned<TTable> dataSet(New<TTable>(nullptr));
    dataSet->SetDatabaseName(QFileInfo(path).absolutePath());
    dataSet->SetTableName(tableName);
    try {
        dataSet->Open();
        for (dataSet->First(); !dataSet->Eof(); dataSet->Next())
            for (TField* field : *dataSet->Fields())
                (void)field->DisplayText();
    } catch (const Exception&) {
    }
    return 0;
}

}  // namespace

int FuzzDbf(const uint8_t* data, size_t size)
{
    return OpenTable(data, size, QStringLiteral("FUZZ.DBF"), QStringLiteral("FUZZ.DBT"));
}

int FuzzParadox(const uint8_t* data, size_t size)
{
    return OpenTable(data, size, QStringLiteral("FUZZ.DB"), QStringLiteral("FUZZ.MB"));
}
