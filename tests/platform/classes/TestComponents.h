#pragma once
// Small component classes that exercise every kind of published property:
// values of each type, sub-objects with their own defined properties, a
// string list, a collection, references, events, parents and children.
#include "classes/Collection.h"
#include "classes/StringList.h"

#include <vector>

VK_ENUM(TTestAlign, taNone, taTop, taClient)
VK_ENUM(TTestStyle, tsBold, tsItalic, tsUnderline)
using TTestStyles = TSet<TTestStyle>;

class TTestFont : public TPersistent {
    VK_CLASS(TTestFont, TPersistent)
public:
    QString Name = QStringLiteral("Arial");
    int Size = 10;
    TTestStyles Style;
};

// Keeps its bytes as a defined property "Data", as a picture does.
class TTestPicture : public TPersistent {
    VK_CLASS(TTestPicture, TPersistent)
public:
    QByteArray Data;
    void DefineProperties(TDefinedProperties& props) override;
};

class TTestItem : public TCollectionItem {
    VK_CLASS(TTestItem, TCollectionItem)
public:
    QString Caption;
    int Width = 50;
};

class TTestControl : public TComponent {
    VK_CLASS(TTestControl, TComponent)
public:
    void Create(TComponent* owner) override;
    void Destroy() override;

    int Left = 0;
    int Top = 0;
    int Width() const { return width_; }
    void SetWidth(int w);
    QString Caption;
    TTestAlign Align = taNone;
    bool Visible = true;
    double Ratio = 0;
    qint64 Big = 0;
    TTestFont* Font() const { return font_; }
    TStringList* Lines() const { return lines_; }
    TTestPicture* Picture() const { return picture_; }
    TCollection* Columns() const { return columns_; }
    TComponent* Buddy() const { return buddy_; }
    void SetBuddy(TComponent* buddy);
    TNotifyEvent OnClick;

    TTestControl* Parent() const { return parent_; }
    void SetParent(TTestControl* parent);
    const std::vector<TTestControl*>& Controls() const { return controls_; }
    TTestControl* ParentWhenSized = nullptr;  // the parent at the time Width was set
    int LoadedCalls = 0;

    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override { return parent_; }
    void SetParentComponent(TComponent* parent) override;
    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;
    void Notification(TComponent* component, TOperation operation) override;
    void Loaded() override;

    static std::vector<QString>& LoadOrder();  // names, as Loaded runs

private:
    int width_ = 100;
    TTestFont* font_ = nullptr;
    TStringList* lines_ = nullptr;
    TTestPicture* picture_ = nullptr;
    TCollection* columns_ = nullptr;
    TComponent* buddy_ = nullptr;
    TTestControl* parent_ = nullptr;
    std::vector<TTestControl*> controls_;
};

// Deliberately never registered: forms find it through their published field.
class TTestTable : public TComponent {
    VK_CLASS(TTestTable, TComponent)
public:
    QString TableName;
};

// A root: controls first, then its components that are not controls.
class TTestForm : public TTestControl {
    VK_CLASS(TTestForm, TTestControl)
public:
    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;
    void ButtonClick(TObject* sender);

    TTestControl* Panel1 = nullptr;  // published fields
    TTestTable* Table1 = nullptr;
    int Clicks = 0;
};

// Registers the test classes that streams may name (not TTestTable).
void RegisterTestClasses();
