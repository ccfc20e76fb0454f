// Common dialogs and message boxes through the modal seam.
#include "dialogs/Dialogs.h"
#include "graphics/Picture.h"
#include "DialogHands.h"

#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

template <class T>
struct Owned {
    T* Object = New<T>(nullptr);
    ~Owned() { Object->Free(); }
    T* operator->() const { return Object; }
};

TModalRequest Request(TModalKind kind)
{
    return {kind, nullptr, QString(), QString()};
}

}  // namespace

TEST(FileDialogFilter, BecomesQtNameFilters)
{
    EXPECT_EQ(QtNameFilters("Report|*.QR|All|*.*"), QStringList({"Report (*.QR)", "All (*.*)"}));
    EXPECT_EQ(QtNameFilters("Pictures (*.bmp;*.png)|*.bmp;*.png"), QStringList({"Pictures (*.bmp *.png)"}));
    EXPECT_EQ(QtNameFilters("Text|*.txt|dangling"), QStringList({"Text (*.txt)"}));
    EXPECT_TRUE(QtNameFilters(QString()).isEmpty());
}

TEST(FileDialog, AnswerSeesTheRequestAndDefaultExtensionIsAdded)
{
    Owned<TOpenDialog> dialog;
    dialog->Title = "Open report";
    dialog->DefaultExt = "QR";
    TModalRequest seen = Request(TModalKind::Form);
    QString answer;
    TModalScope scope([&](TModalRequest& request) {
        seen = request;
        static_cast<TOpenDialog*>(request.Subject)->FileName = answer;
        return int(mrOk);
    });

    answer = "/tmp/report";
    ASSERT_TRUE(dialog->Execute());
    EXPECT_EQ(seen.Kind, TModalKind::OpenDialog);
    EXPECT_EQ(seen.Subject, dialog.Object);
    EXPECT_EQ(seen.Caption, "Open report");
    EXPECT_EQ(dialog->FileName, "/tmp/report.QR");
    EXPECT_EQ(dialog->Files()->Count(), 1);

    answer = "/tmp/notes.txt";
    ASSERT_TRUE(dialog->Execute());
    EXPECT_EQ(dialog->FileName, "/tmp/notes.txt");

    dialog->DefaultExt = ".QR";
    answer = "/tmp/dotted";
    ASSERT_TRUE(dialog->Execute());
    EXPECT_EQ(dialog->FileName, "/tmp/dotted.QR");

    Owned<TSaveDialog> save;
    ASSERT_TRUE(save->Execute());
    EXPECT_EQ(seen.Kind, TModalKind::SaveDialog);
}

TEST(FileDialog, CancelledAnswerIsNotConfirmed)
{
    Owned<TSaveDialog> dialog;
    dialog->FileName = "kept.QR";
    TModalScope scope([](TModalRequest&) { return 0; });
    EXPECT_FALSE(dialog->Execute());
    EXPECT_EQ(dialog->FileName, "kept.QR");
}

// The real dialog, typed into and clicked: each option means what it says
// and nothing more.
TEST(FileDialogByHand, OptionsMeanWhatTheySay)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("missing.QR"));
    const QString existing = dir.filePath(QStringLiteral("existing.QR"));
    const QString inMissingFolder = dir.filePath(QStringLiteral("gone/missing.QR"));
    QFile(existing).open(QIODevice::WriteOnly);
    struct Case {
        bool Save;
        TOpenOptions Options;
        QString Typed;
        bool Confirmed;
        int QtBoxes = 0;  // Qt's own; -1: Qt may refuse with a box or a disabled button
        int Asked = 0;    // questions and warnings of ours, answered with Answer
        int Answer = mrYes;
    };
    const Case cases[] = {
        {false, {ofHideReadOnly}, missing, true},  // the defaults take it
        {false, {ofHideReadOnly}, inMissingFolder, true},
        {false, {ofHideReadOnly, ofAllowMultiSelect}, missing, true},
        {false, {ofHideReadOnly, ofFileMustExist}, missing, false, -1},  // only must-exist refuses it
        {false, {ofHideReadOnly, ofFileMustExist, ofAllowMultiSelect}, missing, false, -1},
        {false, {ofHideReadOnly, ofFileMustExist}, existing, true},
        {false, {ofHideReadOnly, ofPathMustExist}, inMissingFolder, false, 0, 1},
        {false, {ofHideReadOnly, ofPathMustExist}, missing, true},
        {false, {ofHideReadOnly, ofCreatePrompt}, missing, true, 0, 1, mrYes},
        {false, {ofHideReadOnly, ofCreatePrompt}, missing, false, 0, 1, mrNo},
        {false, {ofHideReadOnly, ofCreatePrompt}, existing, true},
        {true, {ofHideReadOnly}, existing, true},                        // replaced unasked
        {true, {ofHideReadOnly, ofOverwritePrompt}, existing, false, 1},  // asked, and cancelled
        {true, {ofHideReadOnly, ofOverwritePrompt}, missing, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "save " << c.Save << ", options " << c.Options.Bits() << ", "
                                        << c.Typed.toStdString());
        Owned<TSaveDialog> save;
        Owned<TOpenDialog> open;
        TOpenDialog* dialog = c.Save ? save.Object : open.Object;
        dialog->Filter = QStringLiteral("Report|*.QR");
        dialog->Options = c.Options;
        TDialogHands hands;
        int asked = 0;
        TModalScope scope([&](TModalRequest& request) {
            if (request.Kind == TModalKind::MessageBox) {
                ++asked;
                return c.Answer;
            }
            return hands.Run<QFileDialog>(request, [&](QFileDialog& qt) {
                FileDialogHands::Type(qt, c.Typed);
                FileDialogHands::Accept(qt);
            });
        });
        EXPECT_EQ(dialog->Execute(), c.Confirmed);
        if (c.QtBoxes >= 0) {
            EXPECT_EQ(hands.OwnBoxes.size(), c.QtBoxes) << hands.OwnBoxes.join(QLatin1Char('|')).toStdString();
        }
        EXPECT_EQ(asked, c.Asked);
        if (c.Confirmed) {
            EXPECT_EQ(dialog->FileName, c.Typed);
            EXPECT_EQ(dialog->Files()->Count(), 1);
        }
    }
}

// Several typed names of missing files are taken without must-exist. (Qt's
// dialog takes the rows it selects over the names typed, and it selects the
// rows of the existing ones: a typed mixture is left out.)
TEST(FileDialogByHand, ManyNamesNeedNotExist)
{
    QTemporaryDir dir;
    Owned<TOpenDialog> dialog;
    dialog->InitialDir = dir.path();
    dialog->Options = {ofHideReadOnly, ofAllowMultiSelect};
    TDialogHands hands;
    TModalScope scope([&](TModalRequest& request) {
        return hands.Run<QFileDialog>(request, [&](QFileDialog& qt) {
            FileDialogHands::Type(qt, QStringLiteral("\"a.QR\" \"b.QR\""));
            FileDialogHands::Accept(qt);
        });
    });
    ASSERT_TRUE(dialog->Execute());
    ASSERT_EQ(dialog->Files()->Count(), 2);
    EXPECT_EQ(QFileInfo(dialog->Files()->Strings(0)).fileName(), "a.QR");
    EXPECT_EQ(QFileInfo(dialog->Files()->Strings(1)).fileName(), "b.QR");
}

// Two filters may read alike: the one chosen is the one at the place picked.
TEST(FileDialogByHand, FilterIndexIsThePlaceChosen)
{
    QTemporaryDir dir;
    Owned<TSaveDialog> dialog;
    dialog->Filter = QStringLiteral("Text file|*.TXT|Other|*.OTH|Text file|*.TXT");
    int pick = 0;
    TDialogHands hands;
    TModalScope scope([&](TModalRequest& request) {
        return hands.Run<QFileDialog>(request, [&](QFileDialog& qt) {
            FileDialogHands::PickFilter(qt, pick);
            FileDialogHands::Type(qt, dir.filePath(QStringLiteral("out.TXT")));
            FileDialogHands::Accept(qt);
        });
    });
    for (pick = 2; pick >= 0; --pick) {
        ASSERT_TRUE(dialog->Execute());
        EXPECT_EQ(dialog->FilterIndex, pick + 1);
    }
}

// Without an initial folder a dialog opens where the last one was confirmed.
TEST(FileDialogByHand, OpensInTheFolderLastUsed)
{
    QTemporaryDir first, second;
    TDialogHands hands;
    QString typed, openedIn;
    TModalScope scope([&](TModalRequest& request) {
        return hands.Run<QFileDialog>(request, [&](QFileDialog& qt) {
            openedIn = qt.directory().absolutePath();
            FileDialogHands::Type(qt, typed);
            FileDialogHands::Accept(qt);
        });
    });
    for (const QTemporaryDir* dir : {&first, &second}) {
        Owned<TOpenDialog> dialog;
        typed = dir->filePath(QStringLiteral("a.QR"));
        ASSERT_TRUE(dialog->Execute());
        Owned<TOpenDialog> next;
        typed = dir->filePath(QStringLiteral("b.QR"));
        ASSERT_TRUE(next->Execute());
        EXPECT_EQ(openedIn, QDir(dir->path()).absolutePath());
    }
    // An initial folder still wins.
    Owned<TOpenDialog> dialog;
    dialog->InitialDir = first.path();
    ASSERT_TRUE(dialog->Execute());
    EXPECT_EQ(openedIn, QDir(first.path()).absolutePath());
}

TEST(CommonDialogs, EachReachesTheSeamWithItsKind)
{
    Owned<TColorDialog> color;
    Owned<TFontDialog> font;
    Owned<TPrinterSetupDialog> setup;
    Owned<TPrintDialog> print;
    std::vector<TModalKind> kinds;
    TModalScope scope([&](TModalRequest& request) {
        kinds.push_back(request.Kind);
        if (auto* c = dynamic_cast<TColorDialog*>(request.Subject))
            c->Color = clRed;
        return int(mrOk);
    });
    EXPECT_TRUE(color->Execute());
    EXPECT_TRUE(font->Execute());
    EXPECT_TRUE(setup->Execute());
    EXPECT_TRUE(print->Execute());
    EXPECT_EQ(kinds, (std::vector<TModalKind>{TModalKind::ColorDialog, TModalKind::FontDialog,
                                               TModalKind::PrinterSetupDialog, TModalKind::PrintDialog}));
    EXPECT_EQ(color->Color, clRed);
}

TEST(CommonDialogs, PictureDialogOffersThePictureFormats)
{
    Owned<TOpenPictureDialog> dialog;
    EXPECT_EQ(dialog->Filter, GraphicFileFilter());
    EXPECT_TRUE(QtNameFilters(dialog->Filter).first().contains("*.png"));
}

TEST(Seam, HeadlessWithoutAnswerNeverBlocks)
{
    ASSERT_TRUE(Modal::IsHeadless());
    Modal::ClearMessages();
    QElapsedTimer timer;
    timer.start();

    TModalRequest form = Request(TModalKind::Form);
    EXPECT_EQ(Modal::Run(form, [] {
                  ADD_FAILURE() << "the real dialog ran";
                  return int(mrOk);
              }),
              mrCancel);
    Owned<TOpenDialog> open;
    EXPECT_FALSE(open->Execute());
    Owned<TColorDialog> color;
    EXPECT_FALSE(color->Execute());
    ShowMessage("Report saved");
    EXPECT_EQ(MessageDlg("Save changes?", mtConfirmation, {mbYes, mbNo, mbCancel}, 0), mrCancel);

    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_EQ(Modal::Messages(), QStringList({"Report saved", "Save changes?"}));
}

TEST(Seam, MessageBoxesAreAnsweredAndRecorded)
{
    Modal::ClearMessages();
    TModalRequest seen = Request(TModalKind::Form);
    TModalScope scope([&](TModalRequest& request) {
        seen = request;
        return int(mrYes);
    });
    EXPECT_EQ(MessageDlg("Overwrite?", mtWarning, {mbYes, mbNo}, 0), mrYes);
    EXPECT_EQ(seen.Kind, TModalKind::MessageBox);
    EXPECT_EQ(seen.Subject, nullptr);
    EXPECT_EQ(seen.Text, "Overwrite?");
    EXPECT_FALSE(seen.Caption.isEmpty());  // the application's title

    MessageBox("Plain", "Own caption");
    EXPECT_EQ(seen.Caption, "Own caption");
    EXPECT_EQ(Modal::Messages(), QStringList({"Overwrite?", "Plain"}));
}

// The real box offers the buttons asked for (OK when none is, never "All")
// and returns the modal result of the one the user clicks.
TEST(MessageBoxByHand, OffersTheButtonsAskedForAndReturnsTheClickedOnesResult)
{
    using B = QMessageBox::StandardButton;
    struct Case {
        std::function<int()> show;
        QMessageBox::StandardButtons offered;
        B clicked;
        int result;
    };
    const Case cases[] = {
        {[] { return MessageDlg("Save?", mtConfirmation, {mbYes, mbNo, mbCancel}, 0); },
         B::Yes | B::No | B::Cancel, B::No, mrNo},
        {[] { return MessageDlg("All?", mtWarning, {mbYesToAll, mbNoToAll, mbAll}, 0); },
         B::YesToAll | B::NoToAll, B::NoToAll, mrNo},
        {[] { return MessageDlg("All?", mtWarning, {mbYesToAll, mbNoToAll}, 0); }, B::YesToAll | B::NoToAll,
         B::YesToAll, mrYes},
        {[] { return MessageDlg("Again?", mtError, {mbAbort, mbRetry, mbIgnore}, 0); },
         B::Abort | B::Retry | B::Ignore, B::Ignore, mrIgnore},
        {[] { return MessageDlg("Only all", mtInformation, {mbAll}, 0); }, B::Ok, B::Ok, mrOk},
        {[] { return MessageBox("Plain", "Own caption"); }, B::Ok, B::Ok, mrOk},
        {[] { return MessageBox("Qt's", "Own caption", QMessageBox::Retry | QMessageBox::Cancel); },
         B::Retry | B::Cancel, B::Cancel, mrCancel},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "clicked " << int(c.clicked));
        TDialogHands hands;
        QMessageBox::StandardButtons offered;
        TModalScope scope([&](TModalRequest& request) {
            return hands.Run<QMessageBox>(request, [&](QMessageBox& box) {
                offered = box.standardButtons();
                QTest::mouseClick(box.button(c.clicked), Qt::LeftButton);
            });
        });
        EXPECT_EQ(c.show(), c.result);
        EXPECT_EQ(offered, c.offered);
    }
}

TEST(Seam, MessagesAreKeptOnlyWhileALogListens)
{
    EXPECT_TRUE(Modal::Messages().isEmpty()) << "each test has a log of its own";
    ShowMessage("Heard");
    {
        TMessageLog own;
        ShowMessage("Own");
        EXPECT_EQ(own.Texts, QStringList({"Own"}));
    }
    EXPECT_EQ(Modal::Messages(), QStringList({"Heard"}));
}

TEST(Seam, ScopeRestoresThePreviousAnswerer)
{
    TModalScope outer([](TModalRequest&) { return 11; });
    {
        TModalScope inner([](TModalRequest&) { return 22; });
        TModalRequest request = Request(TModalKind::Form);
        EXPECT_EQ(Modal::Run(request, [] { return 0; }), 22);
    }
    TModalRequest request = Request(TModalKind::Form);
    EXPECT_EQ(Modal::Run(request, [] { return 0; }), 11);
}
