#include "Dialogs.h"
#include "classes/ClassRegistry.h"
#include "classes/Published.h"
#include "graphics/Picture.h"
#include "rtl/SysUtils.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <algorithm>

namespace {

// The title of message boxes: the application's, else the program's name.
QString ApplicationTitle()
{
    if (Application && !Application->Title.isEmpty())
        return Application->Title;
    return QCoreApplication::applicationName();
}

QWidget* DialogParent()
{
    return QApplication::activeWindow();
}

// The printer the printer dialogs set up, shared for the program's life.
QPrinter& DialogPrinter()
{
    static QPrinter printer;
    return printer;
}

// Confirmation of a common dialog: the real dialog's Accepted, or an answer of mrOk.
int Confirmed(bool accepted)
{
    return accepted ? mrOk : 0;
}

}  // namespace

// A description that already ends in its patterns ("Bitmaps (*.bmp)") keeps
// them out of the Qt filter's text, which Qt would otherwise show twice.
QStringList QtNameFilters(const QString& filter)
{
    static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        description.remove(trailingPatterns);
        const QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        filters << QStringLiteral("%1 (%2)").arg(description.trimmed(), patterns.join(QLatin1Char(' ')).trimmed());
    }
    return filters;
}

VK_PUBLISHED(TCommonDialog)
{
    c.Prop("HelpContext", &TCommonDialog::HelpContext).Default(0);
}

// ---------------------------------------------------------------- file dialogs

VK_PUBLISHED(TOpenDialog)
{
    c.Prop("DefaultExt", &TOpenDialog::DefaultExt);
    c.Prop("FileName", &TOpenDialog::FileName);
    c.Prop("Filter", &TOpenDialog::Filter);
    c.Prop("FilterIndex", &TOpenDialog::FilterIndex).Default(1);
    c.Prop("InitialDir", &TOpenDialog::InitialDir);
    c.Prop("Options", &TOpenDialog::Options).Default(TOpenOptions{ofHideReadOnly});
    c.Prop("Title", &TOpenDialog::Title);
}

QString TOpenDialog::WithDefaultExt(const QString& name) const
{
    QString ext = DefaultExt;
    if (ext.startsWith(QLatin1Char('.')))
        ext.remove(0, 1);
    if (name.isEmpty() || ext.isEmpty() || !QFileInfo(name).suffix().isEmpty())
        return name;
    return name + QLatin1Char('.') + ext;
}

bool TOpenDialog::Execute()
{
    TModalRequest request{IsSave() ? TModalKind::SaveDialog : TModalKind::OpenDialog, this, Title, QString()};
    files_.Clear();
    if (Modal::Run(request, [this] { return RunFileDialog(); }) != mrOk)
        return false;
    FileName = WithDefaultExt(FileName);
    if (files_.Count() == 0)
        files_.Add(FileName);
    return true;
}

namespace {

// The folder the last confirmed file dialog of the program was in, where a
// dialog without an initial folder opens, as desktop file dialogs do.
QString& LastFolder()
{
    static QString folder;
    return folder;
}

// Qt's widget dialog, the same on every desktop, set from the options. The
// options without a counterpart here belong to another desktop's dialog: its
// look (help and network buttons, old style, sizing, long names), its
// read-only check box, sharing, flags it reports back, and the program's
// current folder, which no dialog changes. Qt's many-files mode takes only
// existing files: without the must-exist option several names are chosen in
// its any-file mode instead, with several rows selectable.
class TQtFileDialog : public QFileDialog {
public:
    TQtFileDialog(QWidget* parent, const QString& caption, const QString& folder, TOpenOptions options, bool save)
        : QFileDialog(parent, caption, folder), options_(options)
    {
        setOption(QFileDialog::DontUseNativeDialog);
        setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        const bool mustExist = options.Contains(ofFileMustExist);
        const bool many = options.Contains(ofAllowMultiSelect);
        if (mustExist)
            setFileMode(many ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
        else
            setFileMode(QFileDialog::AnyFile);
        if (many && !mustExist)
            for (const char* name : {"listView", "treeView"})
                findChild<QAbstractItemView*>(QLatin1String(name))
                    ->setSelectionMode(QAbstractItemView::ExtendedSelection);
        setOption(QFileDialog::DontConfirmOverwrite, !options.Contains(ofOverwritePrompt));
        setOption(QFileDialog::DontResolveSymlinks, options.Contains(ofNoDereferenceLinks));
    }

    void accept() override
    {
        const QStringList files = selectedFiles();
        const bool intoFolder = files.size() == 1 && QFileInfo(files.first()).isDir();
        if (!intoFolder && !std::all_of(files.begin(), files.end(), [this](const QString& f) { return Takes(f); }))
            return;
        // the any-file mode would keep the first name only
        if (files.size() > 1 && fileMode() == QFileDialog::AnyFile)
            QDialog::accept();
        else
            QFileDialog::accept();
    }

    // The filter the user picked, by its place: two filters may read alike.
    QComboBox* FilterCombo() const { return findChild<QComboBox*>(QStringLiteral("fileTypeCombo")); }

private:
    // The checks of the options Qt's dialog does not make itself.
    bool Takes(const QString& file) const
    {
        const QFileInfo info(file);
        if (info.exists())
            return true;
        if (options_.Contains(ofPathMustExist) && !info.dir().exists()) {
            MessageDlg(QStringLiteral("%1\nThe folder does not exist.\nCheck the name and try again.").arg(file),
                       mtWarning, {mbOK}, 0);
            return false;
        }
        return !options_.Contains(ofCreatePrompt) ||
               MessageDlg(QStringLiteral("%1 does not exist.\nDo you want to create it?").arg(file), mtConfirmation,
                          {mbYes, mbNo}, 0) == mrYes;
    }

    TOpenOptions options_;
};

}  // namespace

QString TOpenDialog::StartFolder() const
{
    if (!InitialDir.isEmpty())
        return InitialDir;
    if (FileName.contains(QLatin1Char('/')))
        return QFileInfo(FileName).path();
    return LastFolder();
}

int TOpenDialog::RunFileDialog()
{
    TQtFileDialog dialog(DialogParent(), Title, StartFolder(), Options, IsSave());
    const QStringList filters = QtNameFilters(Filter);
    dialog.setNameFilters(filters);
    QComboBox* filterCombo = dialog.FilterCombo();
    if (FilterIndex >= 1 && FilterIndex <= filters.size()) {
        dialog.selectNameFilter(filters[FilterIndex - 1]);
        filterCombo->setCurrentIndex(FilterIndex - 1);
    }
    if (!FileName.isEmpty())
        dialog.selectFile(QFileInfo(FileName).fileName());
    dialog.setDefaultSuffix(DefaultExt);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return 0;
    const QStringList selected = dialog.selectedFiles();
    FileName = selected.first();
    for (const QString& file : selected)
        files_.Add(file);
    if (!filters.isEmpty())
        FilterIndex = filterCombo->currentIndex() + 1;
    LastFolder() = QFileInfo(FileName).absolutePath();
    return mrOk;
}

VK_PUBLISHED(TSaveDialog) {}

VK_PUBLISHED(TOpenPictureDialog) {}

void TOpenPictureDialog::Create(TComponent* owner)
{
    inherited::Create(owner);
    Filter = GraphicFileFilter();
}

// ---------------------------------------------------------------- colour and font

VK_PUBLISHED(TColorDialog)
{
    c.Prop("Color", &TColorDialog::Color).Default(clBlack);
}

bool TColorDialog::Execute()
{
    TModalRequest request{TModalKind::ColorDialog, this, QString(), QString()};
    return Modal::Run(request, [this] {
               QColorDialog dialog(ColorToQColor(Color), DialogParent());
               const bool accepted = dialog.exec() == QDialog::Accepted;
               if (accepted)
                   Color = QColorToColor(dialog.selectedColor());
               return Confirmed(accepted);
           }) == mrOk;
}

VK_PUBLISHED(TFontDialog)
{
    c.Prop("Font", &TFontDialog::Font);
}

namespace {

void TakeQFont(TFont* font, const QFont& chosen)
{
    font->SetName(chosen.family());
    if (chosen.pixelSize() > 0)
        font->SetHeight(-chosen.pixelSize());
    else
        font->SetSize(Round(chosen.pointSizeF()));
    TFontStyles style;
    if (chosen.bold())
        style.Include(fsBold);
    if (chosen.italic())
        style.Include(fsItalic);
    if (chosen.underline())
        style.Include(fsUnderline);
    if (chosen.strikeOut())
        style.Include(fsStrikeOut);
    font->SetStyle(style);
}

}  // namespace

bool TFontDialog::Execute()
{
    TModalRequest request{TModalKind::FontDialog, this, QString(), QString()};
    return Modal::Run(request, [this] {
               QFontDialog dialog(font_.ToQFont(), DialogParent());
               const bool accepted = dialog.exec() == QDialog::Accepted;
               if (accepted)
                   TakeQFont(&font_, dialog.selectedFont());
               return Confirmed(accepted);
           }) == mrOk;
}

// ---------------------------------------------------------------- printer dialogs

VK_PUBLISHED(TPrinterSetupDialog) {}

bool TPrinterSetupDialog::Execute()
{
    TModalRequest request{TModalKind::PrinterSetupDialog, this, QString(), QString()};
    return Modal::Run(request, [] {
               QPageSetupDialog dialog(&DialogPrinter(), DialogParent());
               return Confirmed(dialog.exec() == QDialog::Accepted);
           }) == mrOk;
}

VK_PUBLISHED(TPrintDialog)
{
    c.Prop("Copies", &TPrintDialog::Copies).Default(1);
    c.Prop("FromPage", &TPrintDialog::FromPage).Default(0);
    c.Prop("MaxPage", &TPrintDialog::MaxPage).Default(0);
    c.Prop("MinPage", &TPrintDialog::MinPage).Default(0);
    c.Prop("ToPage", &TPrintDialog::ToPage).Default(0);
}

bool TPrintDialog::Execute()
{
    TModalRequest request{TModalKind::PrintDialog, this, QString(), QString()};
    return Modal::Run(request, [this] {
               QPrinter& printer = DialogPrinter();
               printer.setCopyCount(Copies);
               QPrintDialog dialog(&printer, DialogParent());
               dialog.setMinMax(MinPage, MaxPage);
               if (FromPage > 0 && ToPage >= FromPage) {
                   dialog.setFromTo(FromPage, ToPage);
                   dialog.setPrintRange(QAbstractPrintDialog::PageRange);
               }
               const bool accepted = dialog.exec() == QDialog::Accepted;
               if (accepted) {
                   Copies = printer.copyCount();
                   FromPage = printer.fromPage();
                   ToPage = printer.toPage();
               }
               return Confirmed(accepted);
           }) == mrOk;
}

// ---------------------------------------------------------------- message boxes

namespace {

// The buttons of the message boxes, with the modal results they return. Qt's
// message box has no plain "All" button: mbAll is not offered.
struct TButtonRow {
    TMsgDlgBtn Button;
    TMessageButton Shown;
};

constexpr TButtonRow buttonRows[] = {
    {mbYes, {QMessageBox::Yes, mrYes}},          {mbNo, {QMessageBox::No, mrNo}},
    {mbOK, {QMessageBox::Ok, mrOk}},             {mbCancel, {QMessageBox::Cancel, mrCancel}},
    {mbAbort, {QMessageBox::Abort, mrAbort}},    {mbRetry, {QMessageBox::Retry, mrRetry}},
    {mbIgnore, {QMessageBox::Ignore, mrIgnore}}, {mbNoToAll, {QMessageBox::NoToAll, mrNo}},
    {mbYesToAll, {QMessageBox::YesToAll, mrYes}}, {mbHelp, {QMessageBox::Help, mrNone}},
};

// The buttons of the rows picked; OK alone when none is.
std::vector<TMessageButton> Buttons(const std::function<bool(const TButtonRow&)>& picked)
{
    std::vector<TMessageButton> buttons;
    for (const TButtonRow& row : buttonRows)
        if (picked(row))
            buttons.push_back(row.Shown);
    return buttons.empty() ? Buttons([](const TButtonRow& row) { return row.Button == mbOK; }) : buttons;
}

}  // namespace

void ShowMessage(const QString& text)
{
    MessageBox(text, QString());
}

int MessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons, int)
{
    static constexpr QMessageBox::Icon icons[] = {QMessageBox::Warning, QMessageBox::Critical,
                                                  QMessageBox::Information, QMessageBox::Question,
                                                  QMessageBox::NoIcon};
    return Modal::RunMessageBox(text, ApplicationTitle(), icons[type],
                                Buttons([&](const TButtonRow& row) { return buttons.Contains(row.Button); }));
}

int MessageBox(const QString& text, const QString& caption, int buttons)
{
    return Modal::RunMessageBox(text, caption.isEmpty() ? ApplicationTitle() : caption, QMessageBox::NoIcon,
                                Buttons([&](const TButtonRow& row) { return (buttons & row.Shown.Qt) != 0; }));
}

void RegisterDialogClasses()
{
    RegisterClasses({TOpenDialog::ClassInfo(), TSaveDialog::ClassInfo(), TOpenPictureDialog::ClassInfo(),
                     TColorDialog::ClassInfo(), TFontDialog::ClassInfo(), TPrinterSetupDialog::ClassInfo(),
                     TPrintDialog::ClassInfo()});
}
