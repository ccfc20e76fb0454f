// Forms built from form resources, modal results, the application's
// exception handler, form lists and the order of freeing.
#include "classes/ComponentStream.h"
#include "classes/Published.h"
#include "classes/TextForm.h"
#include "controls/Buttons.h"
#include "controls/ExtCtrls.h"
#include "forms/Forms.h"
#include "forms/Modal.h"
#include "ScreenCheck.h"

#include <QTimer>
#include <QtTest/QTest>
#include <gtest/gtest.h>

namespace {

const char* const kSampleForm = R"(object SampleForm: TSampleForm
  Left = 100
  Top = 80
  Caption = 'Sample'
  ClientHeight = 220
  ClientWidth = 320
  Position = poScreenCenter
  OnCreate = FormCreate
  object Panel1: TPanel
    Left = 0
    Top = 0
    Width = 320
    Height = 41
    Align = alTop
    BevelOuter = bvLowered
    TabOrder = 0
    object Bold: TSpeedButton
      Left = 4
      Top = 8
      GroupIndex = 1
      AllowAllUp = True
      Down = True
      Caption = 'B'
      OnClick = BoldClick
    end
  end
  object Check: TCheckBox
    Left = 8
    Top = 50
    Caption = 'Check'
    TabOrder = 1
  end
  object Names: TComboBox
    Left = 8
    Top = 72
    Sorted = True
    Items.Strings = (
      'b'
      'a')
    TabOrder = 2
  end
  object Memo: TMemo
    Left = 8
    Top = 100
    Lines.Strings = (
      'line')
    TabOrder = 3
  end
  object Choice: TRadioGroup
    Left = 200
    Top = 50
    Caption = 'Choice'
    Items.Strings = (
      'one'
      'two')
    ItemIndex = 1
    TabOrder = 4
  end
  object Ok: TBitBtn
    Left = 150
    Top = 190
    TabOrder = 5
    OnClick = OkClick
    Kind = bkOK
  end
  object Cancel: TBitBtn
    Left = 230
    Top = 190
    TabOrder = 6
    Kind = bkCancel
  end
  object Holder: TComponent
  end
end
)";

class TSampleForm : public TForm {
    VK_CLASS(TSampleForm, TForm)
public:
    void Create(TComponent* owner) override
    {
        inherited::Create(owner);
        InitFromResource(ObjectTextToBinary(QString::fromLatin1(kSampleForm)));
    }
    TPanel* Panel1 = nullptr;
    TSpeedButton* Bold = nullptr;
    TCheckBox* Check = nullptr;
    TComboBox* Names = nullptr;
    TMemo* Memo = nullptr;
    TRadioGroup* Choice = nullptr;
    TBitBtn* Ok = nullptr;
    TBitBtn* Cancel = nullptr;
    TComponent* Holder = nullptr;
    QStringList Log;
    int ResultSeenByOk = -1;

    void FormCreate(TObject*) { Log << QStringLiteral("create %1").arg(Panel1->Width()); }
    void BoldClick(TObject*) { Log << QStringLiteral("bold %1").arg(Bold->Down()); }
    void OkClick(TObject*) { ResultSeenByOk = ModalResult(); }
};

}  // namespace

VK_PUBLISHED(TSampleForm)
{
    c.Field("Panel1", &TSampleForm::Panel1);
    c.Field("Bold", &TSampleForm::Bold);
    c.Field("Check", &TSampleForm::Check);
    c.Field("Names", &TSampleForm::Names);
    c.Field("Memo", &TSampleForm::Memo);
    c.Field("Choice", &TSampleForm::Choice);
    c.Field("Ok", &TSampleForm::Ok);
    c.Field("Cancel", &TSampleForm::Cancel);
    c.Field("Holder", &TSampleForm::Holder);
    c.Method("FormCreate", &TSampleForm::FormCreate);
    c.Method("BoldClick", &TSampleForm::BoldClick);
    c.Method("OkClick", &TSampleForm::OkClick);
}

TEST(FormResource, BuildsTheFormWithFieldsAndHandlersBound)
{
    auto* form = New<TSampleForm>(nullptr);
    ASSERT_TRUE(form->Panel1 && form->Bold && form->Check && form->Names && form->Memo && form->Choice && form->Ok);
    EXPECT_EQ(form->Caption(), QStringLiteral("Sample"));
    EXPECT_EQ(form->ClientWidth(), 320);
    EXPECT_EQ(form->Log, QStringList{QStringLiteral("create 320")}) << "alignment applied before OnCreate";
    EXPECT_EQ(form->Bold->Parent(), form->Panel1);
    EXPECT_TRUE(form->Bold->Down());
    EXPECT_EQ(form->Names->Items()->Strings(0), QStringLiteral("a"));
    EXPECT_EQ(form->Memo->Lines()->Count(), 1);
    EXPECT_EQ(form->Choice->ItemIndex(), 1);
    EXPECT_EQ(form->Ok->Caption(), QStringLiteral("OK"));
    EXPECT_EQ(form->Cancel->Caption(), QStringLiteral("&Cancel"));
    EXPECT_TRUE(form->Ok->Default);
    EXPECT_TRUE(form->Cancel->Cancel);
    EXPECT_FALSE(form->Visible());

    form->Bold->Click();
    EXPECT_EQ(form->Log.last(), QStringLiteral("bold 0"));

    // written back: child controls in place, then the non-visual component
    const QString text = WriteComponentText(form);
    EXPECT_LT(text.indexOf("object Bold: TSpeedButton"), text.indexOf("object Check: TCheckBox"));
    EXPECT_GT(text.indexOf("object Holder: TComponent"), text.indexOf("object Cancel: TBitBtn"));
    EXPECT_TRUE(text.contains("OnClick = BoldClick"));
    form->Free();
}

TEST(FormResource, BitButtonsGiveTheirModalResultsAfterTheirHandlers)
{
    auto* form = New<TSampleForm>(nullptr);
    TModalScope answer([&](TModalRequest& request) {
        EXPECT_EQ(request.Kind, TModalKind::Form);
        EXPECT_EQ(request.Subject, form);
        form->Ok->Click();
        return form->ModalResult();
    });
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_EQ(form->ResultSeenByOk, mrNone) << "the handler runs before the form takes the result";
    EXPECT_FALSE(form->IsModal());
    form->Free();
}

// Saves a picture under the build folder's screenshots (widgets_test.cpp).
bool SaveScreenshot(const QImage& image, const QString& name);

TEST(FormResource, ScreenshotOfTheSampleForm)
{
    auto* form = New<TSampleForm>(nullptr);
    form->Show();
    const QImage image = form->Grab();
    EXPECT_EQ(image.size(), QSize(320, 220));
    ExpectControlsDrawn(form, image, "sample_form");
    EXPECT_TRUE(SaveScreenshot(image, QStringLiteral("sample_form")));
    form->Free();
}

TEST(FormResource, AModalFormWithoutAnAnswerIsCancelledAndNeverBlocks)
{
    auto* form = New<TSampleForm>(nullptr);
    EXPECT_EQ(form->ShowModal(), mrCancel);
    form->Free();
}

TEST(ModalForm, ARefusedCloseKeepsTheFormOpenUntilTheFormAllowsIt)
{
    auto* form = New<TSampleForm>(nullptr);
    bool allow = false;
    QStringList seen;
    form->OnCloseQuery = TCloseQueryEvent([&](TObject*, bool& canClose) {
        seen << QStringLiteral("query");
        canClose = allow;
    });
    TModalScope answer([&](TModalRequest&) {
        seen << QStringLiteral("answer shown=%1 result=%2").arg(form->Widget()->isVisible()).arg(form->ModalResult());
        allow = seen.size() > 2;
        return int(mrOk);
    });
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_EQ(seen, QStringList({"answer shown=1 result=0", "query", "answer shown=1 result=0", "query"}));
    EXPECT_FALSE(form->Widget()->isVisible());
    EXPECT_FALSE(form->IsModal());
    form->Free();
}

TEST(ModalForm, AClickOnAButtonWithAModalResultEndsTheLoop)
{
    auto* form = New<TSampleForm>(nullptr);
    TModalScope answer([&](TModalRequest&) {
        EXPECT_TRUE(form->Ok->Widget()->isVisible());
        QTest::mouseClick(form->Ok->Widget(), Qt::LeftButton);
        return int(mrCancel);  // too late: the click gave the result
    });
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_EQ(form->ResultSeenByOk, mrNone);
    form->Free();
}

TEST(ModalForm, HeadlessWithoutAnAnswerARefusedCloseNeverBlocks)
{
    auto* form = New<TSampleForm>(nullptr);
    int queries = 0;
    form->OnCloseQuery = TCloseQueryEvent([&](TObject*, bool& canClose) {
        ++queries;
        canClose = false;
    });
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_EQ(queries, 1);
    EXPECT_FALSE(form->Widget()->isVisible());
    form->Free();
}

TEST(ApplicationTest, TheDefaultHandlerShowsTheMessage)
{
    Modal::ClearMessages();
    DispatchSafely([] { throw EConvertError(QStringLiteral("'x' is not a valid integer value")); });
    DispatchSafely([] { throw EInvalidOperation(QStringLiteral("Done.")); });
    EXPECT_EQ(Modal::Messages(),
              (QStringList{QStringLiteral("'x' is not a valid integer value."), QStringLiteral("Done.")}));
}

TEST(ApplicationTest, WithoutTheApplicationsSinkAnEscapingExceptionGoesOnUp)
{
    TExceptionSink application = SetExceptionSink(nullptr);
    EXPECT_THROW(DispatchSafely([] { throw EConvertError(QStringLiteral("no one listens")); }), EConvertError);
    SetExceptionSink(std::move(application));
    EXPECT_NO_THROW(DispatchSafely([] { throw EConvertError(QStringLiteral("told")); }));
    EXPECT_EQ(Modal::Messages(), QStringList{QStringLiteral("told.")});
}

TEST(ApplicationTest, RunShowsTheMainFormUntilItClosesThenFreesTheFormsLastFirst)
{
    QStringList freed;
    TForm* main = nullptr;
    TForm* second = nullptr;
    Application->CreateForm(main);
    Application->CreateForm(second);
    EXPECT_EQ(Application->MainForm(), main);
    main->OnDestroy = TNotifyEvent([&](TObject*) { freed << "main"; });
    second->OnDestroy = TNotifyEvent([&](TObject*) { freed << "second"; });
    main->OnShow = TNotifyEvent([&](TObject*) { QTimer::singleShot(0, [main] { main->Close(); }); });
    Application->Run();
    EXPECT_EQ(freed, (QStringList{"second", "main"}));
    EXPECT_EQ(Application->MainForm(), nullptr);
    // a form's activation counts each time it becomes active again
    auto* form = New<TForm>(nullptr);
    int activations = 0;
    form->OnActivate = TNotifyEvent([&](TObject*) { ++activations; });
    form->Activate();
    form->Activate();
    form->Deactivate();
    form->Activate();
    EXPECT_EQ(activations, 2);
    form->Free();
}

TEST(ScreenTest, FormsAndDataModulesInCreationOrder)
{
    const int forms = Screen->FormCount();
    auto* a = New<TDataModule>(nullptr);
    auto* b = New<TDataModule>(nullptr);
    auto* form = New<TForm>(nullptr);
    ASSERT_EQ(Screen->DataModuleCount(), 2);
    EXPECT_EQ(Screen->DataModules(0), a);
    EXPECT_EQ(Screen->GetDataModule(1), b);
    EXPECT_EQ(Screen->FormCount(), forms + 1);
    EXPECT_THROW(Screen->DataModules(2), EListError);
    a->Free();
    EXPECT_EQ(Screen->DataModules(0), b);
    b->Free();
    form->Free();
    EXPECT_EQ(Screen->FormCount(), forms);
    EXPECT_GT(Screen->Width(), 0);
}
