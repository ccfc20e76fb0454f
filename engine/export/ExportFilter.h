#pragma once
// Export filters: objects that receive a report's printed texts with their
// places on the page and write them in a file format of their own, and the
// engine's list of the filters it offers.
//
// Call order while a report exports (all measures in tenths of a millimetre):
//   Start(PaperWidth, PaperHeight, report font) once;
//   for each page: EndPage (for the page before; also once before the first
//   page, when nothing was output yet), NewPage, then TextOut once per printed
//   line of each text element;
//   after the last page: EndPage, Finish.
// A right-justified text is passed with the X of its right edge, a centred
// one with the X of its centre, a left-justified one with the X of its left
// edge; Y is the top of the line.
#include "controls/StdCtrls.h"
#include "graphics/Graphics.h"

#include <functional>
#include <typeindex>
#include <vector>

class TQRExportFilter : public TObject {
public:
    explicit TQRExportFilter(const QString& fileName) : fileName_(fileName) {}
    const QString& FileName() const { return fileName_; }
    // True from Start to Finish.
    bool Active() const { return active_; }

    virtual QString GetDescription() const { return {}; }
    virtual QString GetExtension() const { return {}; }
    virtual QString GetFilterName() const { return {}; }
    virtual QString GetVendorName() const { return QStringLiteral("Vornak"); }
    virtual void Start(int PaperWidth, int PaperHeight, TFont* Font) { active_ = true; }
    virtual void EndPage() {}
    virtual void Finish() { active_ = false; }
    virtual void NewPage() {}
    virtual void TextOut(double X, double Y, TFont* Font, TColor BGColor, TAlignment Alignment, const QString& Text) {}

private:
    QString fileName_;
    bool active_ = false;
};

using TQRExportFilterFactory = std::function<TQRExportFilter*(const QString& fileName)>;

// One filter class of the list, with the name and extension it gave when added.
struct TQRExportFilterEntry {
    std::type_index Class;
    QString FilterName;
    QString Extension;
    TQRExportFilterFactory Factory;
    // A new filter of the class writing to the file; the caller frees it.
    TQRExportFilter* CreateFilter(const QString& fileName) const { return Factory(fileName); }
};

class TQRExportFilterLibrary {
public:
    // Appends an entry for the filter class; a short-lived instance gives its
    // name and extension.
    template <class T>
    void AddFilter()
    {
        AddFilter(typeid(T), [](const QString& fileName) -> TQRExportFilter* { return new T(fileName); });
    }
    void AddFilter(std::type_index cls, TQRExportFilterFactory factory);
    // Removes every entry of the class (a library whose code goes away).
    template <class T>
    void RemoveFilter()
    {
        RemoveFilter(typeid(T));
    }
    void RemoveFilter(std::type_index cls);

    const std::vector<TQRExportFilterEntry>& Filters() const { return entries_; }
    int Count() const { return static_cast<int>(entries_.size()); }
    // "Text file (*.TXT)|*.TXT|..." in list order, for a save dialog.
    QString SaveDialogFilter() const;

private:
    std::vector<TQRExportFilterEntry> entries_;
};

// The engine's list of export filters.
extern TQRExportFilterLibrary QRExportFilterLibrary;

// Adds the engine's own filters; run by the engine's start-up.
void RegisterEngineExportFilters();
