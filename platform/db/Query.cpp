#include "Query.h"
#include "Alias.h"
#include "Table.h"
#include "classes/Published.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <sqlite3.h>

VK_PUBLISHED(TQuery)
{
    c.Prop("DatabaseName", &TQuery::DatabaseName, &TQuery::SetDatabaseName);
    c.Prop("DataSource", &TQuery::DataSource, &TQuery::SetDataSource);
    c.Prop("SQL", &TQuery::SQL);
}

// ---- parameters ----

TParam& TParams::Items(int index)
{
    if (index < 0 || index >= Count())
        throw EListError(Format(QString::fromLatin1(rtlstr::SListIndexError), {QString::number(index)}));
    return items_[static_cast<size_t>(index)];
}

TParam* TParams::FindParam(const QString& name)
{
    for (TParam& p : items_)
        if (p.Name.compare(name, Qt::CaseInsensitive) == 0)
            return &p;
    return nullptr;
}

TParam& TParams::ParamByName(const QString& name)
{
    if (TParam* p = FindParam(name))
        return *p;
    throw EDatabaseError(QStringLiteral("Parameter '%1' not found").arg(name));
}

void TParams::Rebuild(const QString& sql)
{
    // names after a colon outside quotes; "::" is not a parameter
    static const QRegularExpression re(QStringLiteral(R"('(?:[^']|'')*'|"[^"]*"|(?<!:):([A-Za-z_][A-Za-z0-9_]*))"));
    std::vector<TParam> fresh;
    for (auto it = re.globalMatch(sql); it.hasNext();) {
        const QString name = it.next().captured(1);
        if (name.isEmpty() || std::any_of(fresh.begin(), fresh.end(), [&](const TParam& p) { return p.Name.compare(name, Qt::CaseInsensitive) == 0; }))
            continue;
        TParam* old = FindParam(name);
        fresh.push_back(old ? *old : TParam{name, {}});
    }
    items_ = std::move(fresh);
}

// ---- engine ----

namespace {

struct Statement {
    sqlite3_stmt* s = nullptr;
    ~Statement() { sqlite3_finalize(s); }
};

[[noreturn]] void EngineError(sqlite3* db, const QString& what)
{
    throw EDatabaseError(QStringLiteral("%1: %2").arg(what, QString::fromUtf8(sqlite3_errmsg(db))));
}

void Exec(sqlite3* db, const QString& sql)
{
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        EngineError(db, QStringLiteral("SQL error"));
}

QString Quote(const QString& ident) { return u'"' + QString(ident).replace(u'"', QStringLiteral("\"\"")) + u'"'; }

// Declared column types carry the field type (and string size) through SQLite.
QString DeclaredType(const TFieldDef& d)
{
    switch (d.DataType) {
    case ftString: return QStringLiteral("VARCHAR(%1)").arg(d.Size);
    case ftSmallint: return QStringLiteral("SMALLINT");
    case ftInteger: return QStringLiteral("INTEGER");
    case ftLargeint: return QStringLiteral("BIGINT");
    case ftAutoInc: return QStringLiteral("AUTOINC");
    case ftBoolean: return QStringLiteral("BOOLEAN");
    case ftFloat: return QStringLiteral("FLOAT");
    case ftCurrency: return QStringLiteral("CURRENCY_REAL");  // REAL affinity: SQLite would store 1000.0 as an integer
    case ftDate: return QStringLiteral("DATE");
    case ftTime: return QStringLiteral("TIME");
    case ftDateTime: return QStringLiteral("DATETIME");
    case ftMemo: return QStringLiteral("MEMO_TEXT");
    case ftGraphic: return QStringLiteral("GRAPHIC_BLOB");
    default: return QStringLiteral("BLOB");
    }
}

TFieldDef DefFromDeclared(const QString& name, const QString& declared)
{
    static const std::pair<const char*, TFieldType> map[] = {
        {"SMALLINT", ftSmallint}, {"INTEGER", ftInteger}, {"BIGINT", ftLargeint}, {"AUTOINC", ftAutoInc},
        {"BOOLEAN", ftBoolean}, {"FLOAT", ftFloat}, {"CURRENCY_REAL", ftCurrency}, {"DATE", ftDate}, {"TIME", ftTime},
        {"DATETIME", ftDateTime}, {"MEMO_TEXT", ftMemo}, {"GRAPHIC_BLOB", ftGraphic}, {"BLOB", ftBlob}};
    TFieldDef d{name, ftUnknown, 0, 0};
    const QString upper = declared.toUpper();
    if (upper.startsWith(QLatin1String("VARCHAR("))) {
        d.DataType = ftString;
        d.Size = upper.mid(8).chopped(1).toInt();
        return d;
    }
    for (const auto& [type, ft] : map)
        if (upper == QLatin1String(type))
            d.DataType = ft;
    return d;
}

void BindValue(sqlite3_stmt* s, int index, const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::UnknownType: case QMetaType::Nullptr: sqlite3_bind_null(s, index); break;
    case QMetaType::Bool: case QMetaType::Int: case QMetaType::LongLong: sqlite3_bind_int64(s, index, v.toLongLong()); break;
    case QMetaType::Double: sqlite3_bind_double(s, index, v.toDouble()); break;
    case QMetaType::QDate: BindValue(s, index, v.toDate().toString(Qt::ISODate)); break;
    case QMetaType::QTime: BindValue(s, index, v.toTime().toString(QStringLiteral("hh:mm:ss.zzz"))); break;
    case QMetaType::QDateTime: BindValue(s, index, v.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"))); break;
    case QMetaType::QByteArray: {
        const QByteArray b = v.toByteArray();
        sqlite3_bind_blob64(s, index, b.constData(), static_cast<sqlite3_uint64>(b.size()), SQLITE_TRANSIENT);
        break;
    }
    default: {
        if (v.isNull()) {
            sqlite3_bind_null(s, index);
            break;
        }
        const QByteArray u = v.toString().toUtf8();
        sqlite3_bind_text64(s, index, u.constData(), static_cast<sqlite3_uint64>(u.size()), SQLITE_TRANSIENT, SQLITE_UTF8);
    }
    }
}

QVariant ColumnValue(sqlite3_stmt* s, int col)
{
    switch (sqlite3_column_type(s, col)) {
    case SQLITE_INTEGER: return static_cast<qint64>(sqlite3_column_int64(s, col));
    case SQLITE_FLOAT: return sqlite3_column_double(s, col);
    case SQLITE_TEXT:
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, col)), sqlite3_column_bytes(s, col));
    case SQLITE_BLOB:
        return QByteArray(static_cast<const char*>(sqlite3_column_blob(s, col)), sqlite3_column_bytes(s, col));
    default: return {};
    }
}

// Converts what SQLite gives back into the value kind of the field type.
QVariant ToFieldValue(const QVariant& v, TFieldType type)
{
    if (v.isNull())
        return v;
    switch (type) {
    case ftBoolean: return v.toLongLong() != 0;
    case ftSmallint: case ftInteger: case ftLargeint: case ftAutoInc: return v.toLongLong();
    case ftFloat: case ftCurrency: return v.toDouble();
    case ftDate: return QDate::fromString(v.toString().left(10), Qt::ISODate);
    case ftTime: return QTime::fromString(v.toString(), QStringLiteral("hh:mm:ss.zzz"));
    case ftDateTime: return QDateTime::fromString(v.toString(), QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"));
    case ftString: case ftMemo: return v.toString();
    default: return v.toByteArray();
    }
}

// A computed column takes its type from the values it holds.
TFieldDef InferDef(const QString& name, const std::vector<TRecord>& rows, size_t col)
{
    TFieldDef d{name, ftString, 1, 0};
    bool typed = false;
    for (const TRecord& row : rows) {
        const QVariant& v = row[col];
        if (v.isNull())
            continue;
        const TFieldType t = v.typeId() == QMetaType::LongLong ? ftLargeint
                             : v.typeId() == QMetaType::Double  ? ftFloat
                             : v.typeId() == QMetaType::QByteArray ? ftBlob : ftString;
        if (!typed || (d.DataType == ftLargeint && t == ftFloat))
            d.DataType = t;
        typed = true;
        if (t == ftString)
            d.Size = qMax(d.Size, static_cast<int>(v.toString().size()));
    }
    return d;
}

}  // namespace

void TQuery::Create(TComponent* owner)
{
    inherited::Create(owner);
    sql_ = new TStringList();
    sql_->OnChange = TNotifyEvent([this](TObject*) { SqlChanged(); });
}

void TQuery::Destroy()
{
    inherited::Destroy();  // closes first
    CloseEngine();
    FreeAndNil(sql_);
}

void TQuery::SetDatabaseName(const QString& name)
{
    if (Active())
        DatabaseError(QStringLiteral("Cannot change DatabaseName of an open query"));
    databaseName_ = name;
    CloseEngine();
}

void TQuery::SqlChanged()
{
    if (Active() && !IsLoading())
        Close();
    params_.Rebuild(sql_->Text());
}

void TQuery::CloseEngine()
{
    if (db_)
        sqlite3_close(db_);
    db_ = nullptr;
    loaded_.clear();
}

void TQuery::OpenEngine(const QString& folder)
{
    if (db_ && dbFolder_ == folder)
        return;
    CloseEngine();
    if (sqlite3_open_v2(":memory:", &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        CloseEngine();
        throw EDatabaseError(QStringLiteral("Cannot start the SQL engine"));
    }
    dbFolder_ = folder;
}

void TQuery::LoadReferencedTables(const QString& folder, const QString& sql)
{
    const QStringList files = QDir(folder).entryList({QStringLiteral("*.db"), QStringLiteral("*.dbf")}, QDir::Files | QDir::Readable);
    for (const QString& file : files) {
        const QString base = QFileInfo(file).completeBaseName();
        const QRegularExpression word(QStringLiteral("\\b%1\\b").arg(QRegularExpression::escape(base)),
                                      QRegularExpression::CaseInsensitiveOption);
        if (!sql.contains(word) || loaded_.contains(base, Qt::CaseInsensitive))
            continue;
        // streamed in record by record: the engine's copy is the only one
        const std::unique_ptr<TRecordSource> table = OpenTableFile(QDir(folder).filePath(file));
        const std::vector<TFieldDef>& defs = table->Defs();
        QStringList cols;
        for (const TFieldDef& d : defs)
            cols << Quote(d.Name) + u' ' + DeclaredType(d);
        Exec(db_, QStringLiteral("CREATE TABLE %1 (%2)").arg(Quote(base), cols.join(u',')));
        Exec(db_, QStringLiteral("CREATE VIEW %1 AS SELECT * FROM %2").arg(Quote(file), Quote(base)));
        Exec(db_, QStringLiteral("BEGIN"));
        Statement ins;
        const QString marks = QString(QStringLiteral("?,")).repeated(int(defs.size())).chopped(1);
        if (sqlite3_prepare_v2(db_, QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(Quote(base), marks).toUtf8().constData(), -1, &ins.s, nullptr) != SQLITE_OK)
            EngineError(db_, QStringLiteral("Cannot load table %1").arg(file));
        for (qint64 r = 0; table->Has(r); ++r) {
            const TRecord row = table->Read(r);
            for (size_t i = 0; i < row.size(); ++i)
                BindValue(ins.s, int(i) + 1, row[i]);
            if (sqlite3_step(ins.s) != SQLITE_DONE)
                EngineError(db_, QStringLiteral("Cannot load table %1").arg(file));
            sqlite3_reset(ins.s);
        }
        Exec(db_, QStringLiteral("COMMIT"));
        loaded_ << base;
    }
}

TTableData TQuery::OpenData()
{
    const QString sql = sql_->Text().trimmed();
    if (sql.isEmpty())
        DatabaseError(QStringLiteral("No SQL statement available"));
    const QString folder = ResolveDatabase(databaseName_);
    OpenEngine(folder);
    try {
        LoadReferencedTables(folder, sql);
    } catch (const EDatabaseError& e) {
        CloseEngine();  // a half-loaded engine would hide the missing table next time
        DatabaseError(e.Message());
    }
    Statement st;
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(db_, utf8.constData(), int(utf8.size()), &st.s, nullptr) != SQLITE_OK || !st.s)
        DatabaseError(QStringLiteral("Invalid SQL: %1").arg(QString::fromUtf8(sqlite3_errmsg(db_))));
    if (!sqlite3_stmt_readonly(st.s))
        DatabaseError(QStringLiteral("A query only reads: use SELECT"));
    TDataSet* master = MasterSource() ? MasterSource()->DataSet() : nullptr;
    for (int i = 1; i <= sqlite3_bind_parameter_count(st.s); ++i) {
        const char* raw = sqlite3_bind_parameter_name(st.s, i);
        const QString name = raw ? QString::fromUtf8(raw + 1) : QString();
        TParam* p = params_.FindParam(name);
        QVariant v = p ? p->Value : QVariant();
        if (v.isNull() && master && master->Active())
            if (TField* f = master->FindField(name))
                v = f->Value();
        BindValue(st.s, i, v);
    }
    const int columns = sqlite3_column_count(st.s);
    TTableData out;
    std::vector<QString> declared;
    for (int c = 0; c < columns; ++c) {
        const char* type = sqlite3_column_decltype(st.s, c);
        declared.push_back(type ? QString::fromUtf8(type) : QString());
        out.Defs.push_back(DefFromDeclared(QString::fromUtf8(sqlite3_column_name(st.s, c)), declared.back()));
    }
    int rc;
    while ((rc = sqlite3_step(st.s)) == SQLITE_ROW) {
        TRecord row;
        for (int c = 0; c < columns; ++c)
            row.push_back(ColumnValue(st.s, c));
        out.Rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE)
        DatabaseError(QStringLiteral("SQL error: %1").arg(QString::fromUtf8(sqlite3_errmsg(db_))));
    for (size_t c = 0; c < out.Defs.size(); ++c) {
        if (out.Defs[c].DataType == ftUnknown)
            out.Defs[c] = InferDef(out.Defs[c].Name, out.Rows, c);
        for (TRecord& row : out.Rows)
            row[c] = ToFieldValue(row[c], out.Defs[c].DataType);
    }
    return out;
}

void TQuery::MasterChanged()
{
    // a parameterised detail query runs again for the master's new record
    DisableControls();
    try {
        Close();
        Open();
    } catch (...) {
        EnableControls();
        throw;
    }
    EnableControls();
}
