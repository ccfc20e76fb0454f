// Common dialogs and message boxes through the modal seam.
#include "dialogs/Dialogs.h"
#include "graphics/Picture.h"

#include <QElapsedTimer>
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
