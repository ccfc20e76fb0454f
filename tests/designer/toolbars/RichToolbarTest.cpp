// The memo, system-data and image toolbar with its "Text editor" and
// "Report information" dialogs, driven through the modal seam.
#include "ToolbarFixture.h"
#include "designer/editor/editor.h"
#include "designer/toolbars/RichToolbar.h"

#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QImage>
#include <QWidget>
#include <QTemporaryDir>

namespace {

class RichToolbarTest : public ToolbarTest {
protected:
    void SetUp() override
    {
        ToolbarTest::SetUp();
        bar = NewToolbar<TQRRich>();
        memo = NewElement<TQRMemo>();
        memo->Lines()->SetStrings({"a", "b"});
    }
    TQRRich* bar = nullptr;
    TQRMemo* memo = nullptr;
};

// Answers the text editor: records what it showed, lets the test edit it, returns the result.
struct EditorAnswer {
    QStringList shown;
    Tmainform* form = nullptr;
    int runs = 0;
    TModalAnswerer Answer(std::function<void(TMemo*)> edit, int result)
    {
        return [this, edit, result](TModalRequest& r) {
            EXPECT_EQ(r.Kind, TModalKind::Form);
            form = dynamic_cast<Tmainform*>(r.Subject);
            EXPECT_NE(form, nullptr);
            if (!form)
                return int(mrCancel);
            ++runs;
            shown = QStringList();
            for (int i = 0; i < form->edit->Lines()->Count(); ++i)
                shown << form->edit->Lines()->Strings(i);
            if (edit)
                edit(form->edit);
            return result;
        };
    }
};

QStringList LinesOf(TStrings* lines)
{
    QStringList list;
    for (int i = 0; i < lines->Count(); ++i)
        list << lines->Strings(i);
    return list;
}

TEST_F(RichToolbarTest, ANewToolbarHasThreeEnabledCaptionButtons)
{
    EXPECT_FALSE(bar->Visible());
    const TSpeedButton* buttons[] = {bar->TextButton, bar->SysDataButton, bar->ImageButton};
    const QStringList captions = {"Text editor", "Sys Data", "Load image"};
    const QRect bounds[] = {QRect(4, 4, 70, 24), QRect(75, 4, 95, 24), QRect(173, 4, 85, 24)};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(buttons[i]->Caption(), captions[i]);
        EXPECT_EQ(buttons[i]->BoundsRect(), bounds[i]);
        EXPECT_TRUE(buttons[i]->Enabled());
        EXPECT_EQ(buttons[i]->Hint(), "");
        EXPECT_EQ(buttons[i]->GroupIndex(), 0);
        EXPECT_TRUE(buttons[i]->Glyph()->Empty());
    }
    EXPECT_EQ(bar->NextX, 243);
    EXPECT_EQ(bar->PictureDialog->Title, "Load image");
    EXPECT_EQ(bar->PictureDialog->Owner(), bar);
    EXPECT_EQ(bar->SysDataForm->Owner(), bar);
    ASSERT_NE(mainform, nullptr);
    EXPECT_EQ(mainform->Owner(), bar);
    EXPECT_FALSE(mainform->Visible());
}

TEST_F(RichToolbarTest, OnlyTheButtonServingTheElementsClassIsEnabled)
{
    auto* sysData = NewElement<TQRSysData>();
    auto* image = NewElement<TQRImage>();
    auto* label = NewElement<TQRLabel>();
    auto* shape = NewElement<TQRShape>();
    auto enabled = [&] {
        return std::vector<bool>{bar->TextButton->Enabled(), bar->SysDataButton->Enabled(),
                                 bar->ImageButton->Enabled()};
    };
    bar->SetComponent(memo);
    EXPECT_EQ(enabled(), (std::vector<bool>{true, false, false}));
    bar->SetComponent(sysData);
    EXPECT_EQ(enabled(), (std::vector<bool>{false, true, false}));
    bar->SetComponent(nullptr);
    EXPECT_EQ(enabled(), (std::vector<bool>{false, true, false}));
    bar->SetComponent(image);
    EXPECT_EQ(enabled(), (std::vector<bool>{false, false, true}));
    bar->SetComponent(label);
    EXPECT_EQ(enabled(), (std::vector<bool>{false, false, false}));
    bar->SetComponent(shape);
    EXPECT_EQ(enabled(), (std::vector<bool>{false, false, false}));
}

TEST_F(RichToolbarTest, DialogsComeFromTheirFormResources)
{
    Tmainform* editor = mainform;
    EXPECT_EQ(editor->Name(), "mainform");
    EXPECT_EQ(editor->Caption(), "Text editor");
    EXPECT_EQ(editor->ClientWidth(), 536);
    EXPECT_EQ(editor->ClientHeight(), 348);
    EXPECT_EQ(editor->BorderStyle(), bsDialog);
    EXPECT_EQ(editor->BorderIcons(), TBorderIcons({biSystemMenu}));
    EXPECT_EQ(editor->Position(), poScreenCenter);
    EXPECT_EQ(editor->ActiveControl(), editor->edit);
    EXPECT_EQ(editor->Font()->Name(), "MS Sans Serif");
    EXPECT_EQ(editor->Font()->Height(), -11);
    ASSERT_NE(editor->edit, nullptr);
    EXPECT_EQ(editor->edit->BoundsRect(), QRect(0, 0, 432, 348));
    EXPECT_EQ(editor->edit->Align(), alClient);
    EXPECT_EQ(editor->edit->ScrollBars(), ssBoth);
    EXPECT_TRUE(editor->edit->WantTabs());
    EXPECT_EQ(editor->edit->Lines()->Count(), 0);
    EXPECT_EQ(editor->Panel1->BoundsRect(), QRect(432, 0, 104, 348));
    EXPECT_EQ(editor->Panel1->Align(), alRight);
    EXPECT_EQ(editor->Panel1->Caption(), "");
    EXPECT_EQ(editor->BitBtn1->Parent(), editor->Panel1);
    EXPECT_EQ(editor->BitBtn1->BoundsRect(), QRect(16, 8, 75, 25));
    EXPECT_EQ(editor->BitBtn1->Caption(), "OK");
    EXPECT_EQ(editor->BitBtn1->ModalResult, mrOk);
    EXPECT_TRUE(editor->BitBtn1->Default);
    EXPECT_EQ(editor->BitBtn2->BoundsRect(), QRect(16, 40, 75, 25));
    EXPECT_EQ(editor->BitBtn2->Caption(), "&Cancel");
    EXPECT_EQ(editor->BitBtn2->ModalResult, mrCancel);
    EXPECT_TRUE(editor->BitBtn2->Cancel);
    EXPECT_EQ(editor->edit->TabOrder(), 0);
    EXPECT_EQ(editor->Panel1->TabOrder(), 1);
    EXPECT_EQ(editor->BitBtn1->TabOrder(), 0);
    EXPECT_EQ(editor->BitBtn2->TabOrder(), 1);
    EXPECT_TRUE(editor->OnActivate);

    Timptxtsys* info = bar->SysDataForm;
    EXPECT_EQ(info->Name(), "imptxtsys");
    EXPECT_EQ(info->Caption(), "Report information");
    EXPECT_EQ(info->ClientWidth(), 353);
    EXPECT_EQ(info->ClientHeight(), 275);
    EXPECT_EQ(info->BorderStyle(), bsToolWindow);
    EXPECT_EQ(info->Position(), poScreenCenter);
    EXPECT_EQ(info->BorderIcons(), TBorderIcons({biSystemMenu}));
    EXPECT_EQ(info->Font()->Name(), "MS Sans Serif");
    EXPECT_EQ(info->Font()->Height(), -11);
    EXPECT_TRUE(info->OnActivate);
    ASSERT_NE(info->RadioGroup1, nullptr);
    EXPECT_EQ(info->RadioGroup1->BoundsRect(), QRect(0, 0, 265, 275));
    EXPECT_EQ(info->RadioGroup1->Align(), alLeft);
    EXPECT_EQ(info->RadioGroup1->Caption(), "");
    EXPECT_EQ(LinesOf(info->RadioGroup1->Items()),
              QStringList({"Page number", "Date", "Time", "Date - Time", "Detail count", "Detail number",
                           "Report title"}));
    EXPECT_EQ(info->RadioGroup1->ItemIndex(), -1);
    EXPECT_EQ(info->BitBtn1->BoundsRect(), QRect(272, 8, 75, 25));
    EXPECT_EQ(info->BitBtn1->ModalResult, mrOk);
    EXPECT_EQ(info->BitBtn1->Caption(), "OK");
    EXPECT_TRUE(info->BitBtn1->Default);
    EXPECT_EQ(info->BitBtn2->BoundsRect(), QRect(272, 40, 75, 25));
    EXPECT_EQ(info->BitBtn2->Caption(), "&Cancel");
    EXPECT_EQ(info->BitBtn2->ModalResult, mrCancel);
    EXPECT_TRUE(info->BitBtn2->Cancel);
    EXPECT_FALSE(info->BitBtn2->OnClick);
    EXPECT_EQ(info->RadioGroup1->TabOrder(), 0);
    EXPECT_EQ(info->BitBtn1->TabOrder(), 1);
    EXPECT_EQ(info->BitBtn2->TabOrder(), 2);
    EXPECT_EQ(info->SysData(), nullptr);
}

TEST_F(RichToolbarTest, TextEditorEditsTheMemosLines)
{
    bar->SetComponent(memo);
    EditorAnswer answer;
    {
        TModalScope ok(answer.Answer([](TMemo* edit) { edit->Lines()->Add("c"); }, mrOk));
        bar->TextButton->Click();
    }
    EXPECT_EQ(answer.shown, QStringList({"a", "b"}));
    EXPECT_EQ(LinesOf(memo->Lines()), QStringList({"a", "b", "c"}));
    EXPECT_EQ(mainform->edit->Lines()->Count(), 0) << "OK empties the editor";

    // on screen, the editor puts the focus into its text as it becomes active
    mainform->Show();
    mainform->Panel1->SetFocus();
    mainform->OnActivate(mainform);
    EXPECT_EQ(mainform->Widget()->focusWidget(), mainform->edit->Widget());
    // the Tab key types a tab into the text rather than moving on
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, QString(QChar('\t')));
    QCoreApplication::sendEvent(mainform->edit->Widget(), &tab);
    EXPECT_EQ(mainform->edit->Lines()->Strings(0), "\t");
    mainform->edit->Lines()->Clear();
    mainform->Hide();

    {
        TModalScope cancel(answer.Answer([](TMemo* edit) { edit->Lines()->Add("d"); }, mrCancel));
        bar->TextButton->Click();
    }
    EXPECT_EQ(LinesOf(memo->Lines()), QStringList({"a", "b", "c"}));
    EXPECT_EQ(LinesOf(mainform->edit->Lines()), QStringList({"a", "b", "c", "d"}));
}

TEST_F(RichToolbarTest, ShowformShowsWhatTheEditorHolds)
{
    auto* other = NewElement<TQRMemo>();
    bar->SetComponent(memo);
    EditorAnswer answer;
    {
        TModalScope cancel(answer.Answer([](TMemo* edit) { edit->Lines()->Add("left over"); }, mrCancel));
        bar->TextButton->Click();
    }
    bar->SetComponent(other);
    {
        TModalScope ok(answer.Answer(nullptr, mrOk));
        bar->showform();
    }
    EXPECT_EQ(answer.shown, QStringList({"a", "b", "left over"}));
    EXPECT_EQ(LinesOf(other->Lines()), QStringList({"a", "b", "left over"}));
    {
        TModalScope ok(answer.Answer(nullptr, mrOk));
        bar->showform();
    }
    EXPECT_TRUE(answer.shown.isEmpty()) << "after OK the editor starts empty";
    EXPECT_EQ(other->Lines()->Count(), 0);
}

// Answers the "Report information" dialog: records the item chosen on activation, then chooses one.
TModalAnswerer ChooseSysData(int* shownIndex, int choose, int result)
{
    return [=](TModalRequest& r) {
        auto* form = dynamic_cast<Timptxtsys*>(r.Subject);
        EXPECT_NE(form, nullptr);
        if (!form)
            return int(mrCancel);
        *shownIndex = form->RadioGroup1->ItemIndex();
        form->RadioGroup1->SetItemIndex(choose);
        if (result == mrOk) {
            form->BitBtn1->Click();
            return form->ModalResult();
        }
        form->BitBtn2->Click();
        return form->ModalResult();
    };
}

TEST_F(RichToolbarTest, ReportInformationMapsItemsToKindsBothWays)
{
    auto* sysData = NewElement<TQRSysData>();
    sysData->SetData(qrsDateTime);
    bar->SetComponent(sysData);
    int shown = -2;
    {
        TModalScope ok(ChooseSysData(&shown, 5, mrOk));
        bar->SysDataButton->Click();
    }
    EXPECT_EQ(shown, 3) << "Date - Time";
    EXPECT_EQ(sysData->Data(), qrsDetailNo);
    {
        TModalScope cancel(ChooseSysData(&shown, 0, mrCancel));
        bar->SysDataButton->Click();
    }
    EXPECT_EQ(shown, 5);
    EXPECT_EQ(sysData->Data(), qrsDetailNo);
    {
        TModalScope none(ChooseSysData(&shown, -1, mrOk));  // OK with no item chosen
        bar->SysDataButton->Click();
    }
    EXPECT_EQ(sysData->Data(), qrsDetailNo);

    const TQRSysDataType kinds[] = {qrsPageNumber,  qrsDate,     qrsTime,       qrsDateTime,
                                    qrsDetailCount, qrsDetailNo, qrsReportTitle};
    for (int item = 0; item < 7; ++item) {
        {
            TModalScope ok(ChooseSysData(&shown, item, mrOk));
            bar->SysDataButton->Click();
        }
        EXPECT_EQ(sysData->Data(), kinds[item]) << item;
        TModalScope reopen(ChooseSysData(&shown, item, mrCancel));
        bar->SysDataButton->Click();
        EXPECT_EQ(shown, item);
    }
    EXPECT_EQ(bar->SysDataForm->SysData(), sysData);
    sysData->Free();
    EXPECT_EQ(bar->SysDataForm->SysData(), nullptr) << "the dialog forgets a freed element";
}

TEST_F(RichToolbarTest, LoadImageLoadsTheChosenPictureOnly)
{
    auto* image = NewElement<TQRImage>();
    bar->SetComponent(image);
    {
        TModalScope cancel([](TModalRequest& r) {
            EXPECT_EQ(r.Kind, TModalKind::OpenDialog);
            EXPECT_EQ(r.Caption, "Load image");
            return 0;
        });
        bar->ImageButton->Click();
    }
    EXPECT_TRUE(image->Picture()->Graphic() == nullptr || image->Picture()->Graphic()->Empty());

    QTemporaryDir dir;
    const QString damaged = dir.filePath("damaged.png");
    {
        QFile out(damaged);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("not a picture");
    }
    {
        TModalScope open([&](TModalRequest& r) {
            static_cast<TOpenPictureDialog*>(r.Subject)->FileName = damaged;
            return int(mrOk);
        });
        EXPECT_ANY_THROW(bar->ImageButton->Click()) << "the failure goes on to the application's handler";
    }
    EXPECT_TRUE(image->Picture()->Graphic() == nullptr || image->Picture()->Graphic()->Empty());

    const QString file = dir.filePath("dot.png");
    QImage picture(7, 5, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(file));
    {
        TModalScope open([&](TModalRequest& r) {
            static_cast<TOpenPictureDialog*>(r.Subject)->FileName = file;
            return int(mrOk);
        });
        bar->ImageButton->Click();
    }
    ASSERT_NE(image->Picture()->Graphic(), nullptr);
    EXPECT_EQ(image->Picture()->Graphic()->Width(), 7);
    EXPECT_EQ(image->Picture()->Graphic()->Height(), 5);
}

TEST_F(RichToolbarTest, TheTextEditorOfTheLastToolbarServesAllAndIsRebuiltWhenItGoes)
{
    Tmainform* first = mainform;
    auto* second = NewToolbar<TQRRich>();
    ASSERT_NE(mainform, first);
    EXPECT_EQ(mainform->Owner(), second);

    bar->SetComponent(memo);
    EditorAnswer answer;
    {
        TModalScope ok(answer.Answer(nullptr, mrCancel));
        bar->TextButton->Click();
    }
    EXPECT_EQ(answer.form, mainform);

    second->Free();
    EXPECT_EQ(mainform, nullptr);
    {
        TModalScope ok(answer.Answer([](TMemo* edit) { edit->Lines()->Add("z"); }, mrOk));
        bar->TextButton->Click();
    }
    ASSERT_NE(mainform, nullptr);
    EXPECT_EQ(mainform->Owner(), bar);
    EXPECT_EQ(answer.shown, QStringList({"a", "b"}));
    EXPECT_EQ(LinesOf(memo->Lines()), QStringList({"a", "b", "z"}));
}

TEST_F(RichToolbarTest, AFreedElementIsNeverTouched)
{
    bar->SetComponent(memo);
    memo->Free();
    memo = nullptr;
    TModalScope fail([](TModalRequest&) -> int {
        ADD_FAILURE() << "no dialog without an element";
        return 0;
    });
    bar->TextButton->Click();
    bar->showform();
    bar->SysDataButton->Click();
    bar->ImageButton->Click();
}

TEST_F(RichToolbarTest, Screenshots)
{
    bar->SetComponent(NewElement<TQRSysData>());
    Screenshot(bar, "rich_toolbar");
    mainform->edit->SetLines(memo->Lines());
    Screenshot(mainform, "text_editor");
    mainform->Hide();
    bar->SysDataForm->RadioGroup1->SetItemIndex(3);
    Screenshot(bar->SysDataForm, "report_information");
    bar->SysDataForm->Hide();
}

}  // namespace
