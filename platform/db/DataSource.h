#pragma once
// TDataSource connects data-aware elements to a data set; TDataLink is the
// element's end of that connection and hears of the data set's changes.
#include "classes/Component.h"

#include <vector>

class TDataSet;
class TDataSource;

class TDataLink {
public:
    TDataLink() = default;
    TDataLink(const TDataLink&) = delete;
    TDataLink& operator=(const TDataLink&) = delete;
    virtual ~TDataLink();

    TDataSource* DataSource() const { return dataSource_; }
    void SetDataSource(TDataSource* source);
    TDataSet* DataSet() const;
    bool Active() const;

    virtual void ActiveChanged() {}    // the data set opened or closed
    virtual void DataSetChanged() {}   // its records changed (filter, range, refresh)
    virtual void DataSetScrolled() {}  // the current record moved

private:
    TDataSource* dataSource_ = nullptr;
};

enum class TDataEvent { ActiveChanged, DataSetChanged, DataSetScrolled };

class TDataSource : public TComponent {
    VK_CLASS(TDataSource, TComponent)
public:
    void Destroy() override;

    TDataSet* DataSet() const { return dataSet_; }
    void SetDataSet(TDataSet* dataSet);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    TNotifyEvent OnDataChange;  // after any change of the data or the current record

    // Called by the data set.
    void DataEvent(TDataEvent event);
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TDataLink;
    std::vector<TDataLink*> links_;
    TDataSet* dataSet_ = nullptr;
    bool enabled_ = true;
};
