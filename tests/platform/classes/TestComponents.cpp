#include "TestComponents.h"
#include "classes/ClassRegistry.h"
#include "classes/Published.h"

#include <algorithm>

VK_PUBLISHED(TTestFont)
{
    c.Prop("Name", &TTestFont::Name).Default(QStringLiteral("Arial"));
    c.Prop("Size", &TTestFont::Size).Default(10);
    c.Prop("Style", &TTestFont::Style).Default(TTestStyles{});
}

VK_PUBLISHED(TTestPicture) {}

void TTestPicture::DefineProperties(TDefinedProperties& props)
{
    props.push_back({QStringLiteral("Data"), [this] { return !Data.isEmpty(); }, [this] { return TValue::Binary(Data); },
                     [this](const TValue& v) {
                         if (v.Type != TValueType::Binary)
                             throw EReadError(QStringLiteral("Invalid property value (Data)"));
                         Data = v.Bin;
                     }});
}

VK_PUBLISHED(TTestItem)
{
    c.Prop("Caption", &TTestItem::Caption);
    c.Prop("Width", &TTestItem::Width).Default(50);
}

VK_PUBLISHED(TTestControl)
{
    c.Prop("Left", &TTestControl::Left).Default(0);
    c.Prop("Top", &TTestControl::Top).Default(0);
    c.Prop("Width", &TTestControl::Width, &TTestControl::SetWidth).Default(100);
    c.Prop("Caption", &TTestControl::Caption);
    c.Prop("Align", &TTestControl::Align).Default(taNone);
    c.Prop("Visible", &TTestControl::Visible).Default(true);
    c.Prop("Ratio", &TTestControl::Ratio);
    c.Prop("Big", &TTestControl::Big).Default(qint64(0));
    c.Prop("Font", &TTestControl::Font);
    c.Prop("Lines", &TTestControl::Lines);
    c.Prop("Picture", &TTestControl::Picture);
    c.Prop("Columns", &TTestControl::Columns);
    c.Prop("Buddy", &TTestControl::Buddy, &TTestControl::SetBuddy);
    c.Prop("OnClick", &TTestControl::OnClick);
}

void TTestControl::Create(TComponent* owner)
{
    inherited::Create(owner);
    font_ = new TTestFont;
    lines_ = new TStringList;
    picture_ = new TTestPicture;
    columns_ = new TCollection(TTestItem::ClassInfo(), this);
}

void TTestControl::Destroy()
{
    SetParent(nullptr);
    for (TTestControl* child : controls_)
        child->parent_ = nullptr;
    controls_.clear();
    FreeAndNil(font_);
    FreeAndNil(lines_);
    FreeAndNil(picture_);
    FreeAndNil(columns_);
    inherited::Destroy();
}

void TTestControl::SetWidth(int w)
{
    width_ = w;
    ParentWhenSized = parent_;
}

void TTestControl::SetBuddy(TComponent* buddy)
{
    if (buddy_)
        buddy_->RemoveFreeNotification(this);
    buddy_ = buddy;
    if (buddy_)
        buddy_->FreeNotification(this);
}

void TTestControl::SetParent(TTestControl* parent)
{
    if (parent_)
        parent_->controls_.erase(std::remove(parent_->controls_.begin(), parent_->controls_.end(), this),
                                 parent_->controls_.end());
    parent_ = parent;
    if (parent_)
        parent_->controls_.push_back(this);
}

void TTestControl::SetParentComponent(TComponent* parent) { SetParent(dynamic_cast<TTestControl*>(parent)); }

void TTestControl::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root)
{
    for (TTestControl* child : controls_)
        if (child->Owner() == root)
            proc(child);
}

void TTestControl::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == buddy_)
        buddy_ = nullptr;
}

void TTestControl::Loaded()
{
    inherited::Loaded();
    ++LoadedCalls;
    LoadOrder().push_back(Name());
}

std::vector<QString>& TTestControl::LoadOrder()
{
    static std::vector<QString> order;
    return order;
}

VK_PUBLISHED(TTestTable) { c.Prop("TableName", &TTestTable::TableName); }

VK_PUBLISHED(TTestForm)
{
    c.Field("Panel1", &TTestForm::Panel1);
    c.Field("Table1", &TTestForm::Table1);
    c.Method("ButtonClick", &TTestForm::ButtonClick);
}

void TTestForm::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root)
{
    TTestControl::GetChildren(proc, root);
    for (int i = 0; i < ComponentCount(); ++i)
        if (!Components(i)->HasParent())
            proc(Components(i));
}

void TTestForm::ButtonClick(TObject*) { ++Clicks; }

void RegisterTestClasses() { RegisterClasses({TTestControl::ClassInfo(), TTestForm::ClassInfo()}); }
