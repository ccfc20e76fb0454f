#pragma once
// TQuery: the result of a SELECT over the tables of a database. SQLite is
// the SQL engine: the tables the statement names are loaded into an
// in-memory SQLite database and the statement runs there, so the SQL is
// SQLite's. Tables are named by their file's base name (ORDERS) or, quoted,
// by the file name ("ORDERS.DB"). Dates read as text yyyy-MM-dd, times as
// hh:mm:ss.zzz, date-times as yyyy-MM-dd hh:mm:ss.zzz, Booleans as 0/1.
#include "DataSet.h"
#include "classes/StringList.h"

struct sqlite3;

struct TParam {
    QString Name;
    QVariant Value;  // null binds SQL NULL
};

// The parameters a statement names as :name, in order of appearance.
class TParams {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    TParam& Items(int index);
    TParam* FindParam(const QString& name);
    TParam& ParamByName(const QString& name);  // raises EDatabaseError when missing
    void Rebuild(const QString& sql);  // keeps the values of names that stay

private:
    std::vector<TParam> items_;
};

class TQuery : public TDataSet {
    VK_CLASS(TQuery, TDataSet)
public:
    void Create(TComponent* owner) override;
    void Destroy() override;

    const QString& DatabaseName() const { return databaseName_; }
    void SetDatabaseName(const QString& name);
    TStrings* SQL() { return &sql_; }
    const TStrings* SQL() const { return &sql_; }
    TParams& Params() { return params_; }
    TParam& ParamByName(const QString& name) { return params_.ParamByName(name); }
    // Parameters without a value take the current value of the data source's
    // field of the same name; the query runs again when that record moves.
    TDataSource* DataSource() const { return MasterSource(); }
    void SetDataSource(TDataSource* source) { SetMasterSource(source); }

protected:
    TTableData OpenData() override;
    void MasterChanged() override;

private:
    void SqlChanged();
    void OpenEngine(const QString& folder);
    void CloseEngine();
    void LoadReferencedTables(const QString& folder, const QString& sql);

    QString databaseName_;
    TStringList sql_;
    TParams params_;
    sqlite3* db_ = nullptr;
    QString dbFolder_;
    QStringList loaded_;  // base names of the tables in db_
};
