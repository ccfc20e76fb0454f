#pragma once
// Report builders generate a report in code. TQRBuilder makes the framework
// of a new, hidden report on a windowed owner: the builder's page
// orientation and font, a centred title band and a page footer with the page
// number at the right edge. While active the builder holds the report as its
// own (deactivating or freeing the builder frees it) until FetchReport hands
// it over. A caller may store an existing report in Report before
// activation; the builder then extends that report instead of making one.
#include "designer/VornakExport.h"
#include "classes/Owned.h"
#include "classes/StringList.h"
#include "engine/QuickRep.h"

// How many names NewName has handed out for one base name.
class VORNAK_EXPORT TNameCount : public TObject {
    VK_CLASS(TNameCount, TObject)
public:
    int Count = 0;
};

class VORNAK_EXPORT TQRBuilder : public TComponent {
    VK_CLASS(TQRBuilder, TComponent)
public:
    // True while the builder holds a report that it built or extended.
    bool Active = false;
    // The font a new report receives; owned by the builder.
    const TOwned<TFont> Font{new TFont()};
    TPrinterOrientation Orientation = poPortrait;
    // The report being built, or nil; see the class comment.
    TQuickRep* Report = nullptr;
    QString Title;
    // Base names handed out by NewName; each entry's object is its TNameCount, owned here.
    const TOwned<TStringList> NameList{new TStringList()};

    void Create(TComponent* owner) override;
    void Destroy() override;
    // Creates and furnishes a new report, only when Report is nil.
    virtual void BuildFramework();
    // Acts only on a change: True builds, False frees the report held.
    virtual void SetActive(bool value);
    // Stores the value; when active, also turns the report's page.
    virtual void SetOrientation(TPrinterOrientation value);
    // Stores the value; when active, also sets the report's ReportTitle.
    virtual void SetTitle(const QString& value);
    // The report, handed over to the caller; nil when inactive.
    TQuickRep* FetchReport();
    // base without its first character, numbered per name: "TQRLabel" gives QRLabel1, QRLabel2...
    QString NewName(const QString& base);
    // Gives every unnamed component of the report's owner a unique name from its class name.
    void RenameObjects();

    // Raises EComponentError unless owner is a windowed control, which a new report needs as its parent.
    static void CheckOwner(const TComponent* owner);

    void Notification(TComponent* component, TOperation operation) override;

private:
    void CheckCanActivate() const;
    void FurnishReport();
    void AddTitleLabel();
    void AddPageNumber();
};
