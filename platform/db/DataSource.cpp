#include "DataSource.h"
#include "DataSet.h"
#include "classes/Published.h"

#include <algorithm>

VK_PUBLISHED(TDataSource)
{
    c.Prop("DataSet", &TDataSource::DataSet, &TDataSource::SetDataSet);
    c.Prop("Enabled", &TDataSource::Enabled, &TDataSource::SetEnabled).Default(true);
    c.Prop("OnDataChange", &TDataSource::OnDataChange);
}

TDataLink::~TDataLink() { SetDataSource(nullptr); }

void TDataLink::SetDataSource(TDataSource* source)
{
    if (source == dataSource_)
        return;
    if (dataSource_) {
        auto& links = dataSource_->links_;
        links.erase(std::remove(links.begin(), links.end(), this), links.end());
    }
    dataSource_ = source;
    if (dataSource_)
        dataSource_->links_.push_back(this);
    ActiveChanged();
}

TDataSet* TDataLink::DataSet() const { return dataSource_ ? dataSource_->DataSet() : nullptr; }

bool TDataLink::Active() const
{
    return dataSource_ && dataSource_->Enabled() && DataSet() && DataSet()->Active();
}

void TDataSource::Destroy()
{
    // links outlive their source: cut them loose first
    while (!links_.empty())
        links_.back()->SetDataSource(nullptr);
    SetDataSet(nullptr);
    inherited::Destroy();
}

void TDataSource::SetDataSet(TDataSet* dataSet)
{
    if (dataSet == dataSet_)
        return;
    if (dataSet_) {
        dataSet_->DetachDataSource(this);
        RemoveFreeNotification(dataSet_);
    }
    dataSet_ = dataSet;
    if (dataSet_) {
        dataSet_->AttachDataSource(this);
        FreeNotification(dataSet_);
    }
    DataEvent(TDataEvent::ActiveChanged);
}

void TDataSource::SetEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    DataEvent(TDataEvent::ActiveChanged);
}

void TDataSource::DataEvent(TDataEvent event)
{
    if (!enabled_ && event != TDataEvent::ActiveChanged)
        return;
    // a link may leave (or a detail may close) while it hears of the event
    const std::vector<TDataLink*> links = links_;
    for (TDataLink* link : links) {
        if (std::find(links_.begin(), links_.end(), link) == links_.end())
            continue;
        switch (event) {
        case TDataEvent::ActiveChanged: link->ActiveChanged(); break;
        case TDataEvent::DataSetChanged: link->DataSetChanged(); break;
        case TDataEvent::DataSetScrolled: link->DataSetScrolled(); break;
        }
    }
    OnDataChange(this);
}

void TDataSource::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == dataSet_) {
        dataSet_->DetachDataSource(this);
        dataSet_ = nullptr;
        DataEvent(TDataEvent::ActiveChanged);
    }
}
