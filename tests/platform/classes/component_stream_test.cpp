// Components to streams and back: round trips, fix-ups, files and errors.
#include <gtest/gtest.h>

#include "TestComponents.h"
#include "classes/ClassRegistry.h"
#include "classes/Streaming.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

class ComponentStream : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterTestClasses();
        TTestControl::LoadOrder().clear();
    }
    void TearDown() override
    {
        for (TComponent* c : made_)
            c->Free();
    }
    TTestForm* Form(const char* name = nullptr)
    {
        auto* f = New<TTestForm>(nullptr);
        if (name)
            f->SetName(QString::fromLatin1(name));
        made_.push_back(f);
        return f;
    }
    template <class T = TTestControl>
    static T* Add(TComponent* owner, const char* name, TTestControl* parent = nullptr)
    {
        T* c = New<T>(owner);
        c->SetName(QString::fromLatin1(name));
        if constexpr (std::is_base_of_v<TTestControl, T>)
            c->SetParent(parent);
        return c;
    }

    // A form with every kind of property set on its components.
    TTestForm* RichForm()
    {
        TTestForm* form = Form("Form1");
        form->Caption = QStringLiteral("Report");
        auto* panel = Add(form, "Panel1", form);
        panel->SetWidth(300);
        panel->Align = taClient;
        panel->Ratio = 0.75;
        panel->Big = qint64(1) << 40;
        panel->Font()->Name = QStringLiteral("Courier New");
        panel->Font()->Style = {tsBold, tsUnderline};
        panel->Lines()->SetStrings({QStringLiteral("first"), QString(), QStringLiteral("Grüße")});
        panel->Picture()->Data = QByteArray("\x00\x01\xFEpicture", 10);
        auto* col = static_cast<TTestItem*>(panel->Columns()->Add());
        col->Caption = QStringLiteral("Amount");
        static_cast<TTestItem*>(panel->Columns()->Add())->Width = 80;
        auto* button = Add(form, "Button1", panel);
        button->OnClick.Bind(form, QStringLiteral("ButtonClick"), [form](TObject* s) { form->ButtonClick(s); });
        button->SetBuddy(Add<TTestTable>(form, "Table1"));
        return form;
    }

    std::vector<TComponent*> made_;
};

}  // namespace

TEST_F(ComponentStream, RoundTripRestoresEveryKindOfProperty)
{
    TTestForm* source = RichForm();
    const QByteArray res = WriteComponentRes(source);
    TTestForm* form = Form();
    ReadComponentRes(res, form);

    EXPECT_EQ(WriteComponentNode(form), WriteComponentNode(source));
    EXPECT_EQ(form->Name(), QStringLiteral("Form1"));
    ASSERT_EQ(form->ComponentCount(), 3);
    ASSERT_NE(form->Panel1, nullptr) << "published field bound by name";
    ASSERT_NE(form->Table1, nullptr) << "an unregistered class found through the form's field";
    TTestControl* panel = form->Panel1;
    EXPECT_EQ(panel->Font()->Style, (TTestStyles{tsBold, tsUnderline}));
    EXPECT_EQ(panel->Lines()->Strings(2), QStringLiteral("Grüße"));
    EXPECT_EQ(panel->Picture()->Data, QByteArray("\x00\x01\xFEpicture", 10));
    ASSERT_EQ(panel->Columns()->Count(), 2);
    EXPECT_EQ(static_cast<TTestItem*>(panel->Columns()->Items(1))->Width, 80);

    auto* button = static_cast<TTestControl*>(form->FindComponent(QStringLiteral("Button1")));
    EXPECT_EQ(button->Parent(), panel);
    EXPECT_EQ(button->Buddy(), form->Table1) << "reference resolved after the whole stream";
    button->OnClick(button);
    EXPECT_EQ(form->Clicks, 1) << "event bound to the form's published method";
    EXPECT_EQ(panel->ParentWhenSized, form) << "the parent is set before the properties";
    EXPECT_EQ(TTestControl::LoadOrder(), (std::vector<QString>{"Form1", "Panel1", "Button1"}));
    for (int i = 0; i < form->ComponentCount(); ++i)
        EXPECT_FALSE(form->Components(i)->ComponentState.Contains(csReading));
    EXPECT_FALSE(form->IsLoading());
}

TEST_F(ComponentStream, WritesControlsThenOtherComponentsAndOnlyTheRootsOwn)
{
    TTestForm* form = RichForm();
    TTestForm* elsewhere = Form("Other");
    Add(elsewhere, "Foreign", form);  // shown on the form, owned by another: left out
    EXPECT_EQ(WriteComponentText(form),
              QStringLiteral("object Form1: TTestForm\n"
                             "  Caption = 'Report'\n"
                             "  object Panel1: TTestControl\n"
                             "    Width = 300\n"
                             "    Align = taClient\n"
                             "    Ratio = 0.75\n"
                             "    Big = 1099511627776\n"
                             "    Font.Name = 'Courier New'\n"
                             "    Font.Style = [tsBold, tsUnderline]\n"
                             "    Lines.Strings = (\n"
                             "      'first'\n"
                             "      ''\n"
                             "      'Grüße')\n"
                             "    Picture.Data = {\n"
                             "      0001FE70696374757265}\n"
                             "    Columns = <\n"
                             "      item\n"
                             "        Caption = 'Amount'\n"
                             "      end\n"
                             "      item\n"
                             "        Width = 80\n"
                             "      end>\n"
                             "    object Button1: TTestControl\n"
                             "      Buddy = Table1\n"
                             "      OnClick = ButtonClick\n"
                             "    end\n"
                             "  end\n"
                             "  object Table1: TTestTable\n"
                             "  end\n"
                             "end\n"));
}

TEST_F(ComponentStream, ReferencesAcrossRoots)
{
    TTestForm* form2 = Form("Form2");
    AddGlobalRoot(form2);
    auto* table = Add<TTestTable>(form2, "Orders");
    TTestForm* form1 = Form("Form1");
    Add(form1, "Grid", form1)->SetBuddy(table);
    const QString text = WriteComponentText(form1);
    EXPECT_TRUE(text.contains(QStringLiteral("Buddy = Form2.Orders"))) << text.toStdString();

    TTestForm* copy = Form();
    ReadComponentText(text, copy);
    EXPECT_EQ(static_cast<TTestControl*>(copy->FindComponent(QStringLiteral("Grid")))->Buddy(), table);
    RemoveGlobalRoot(form2);
    // a root that is not there leaves the reference nil and the rest loads
    TTestForm* lonely = Form();
    ReadComponentText(text, lonely);
    EXPECT_EQ(static_cast<TTestControl*>(lonely->FindComponent(QStringLiteral("Grid")))->Buddy(), nullptr);
}

TEST_F(ComponentStream, ReadingWithoutARootMakesOneFromTheRegistry)
{
    const QByteArray stream = WriteComponentStream(RichForm());
    TComponent* made = ReadComponentRes(stream, nullptr);
    made_.push_back(made);
    EXPECT_EQ(made->ClassName(), QStringLiteral("TTestForm"));
    EXPECT_EQ(made->ComponentCount(), 3);
}

TEST_F(ComponentStream, PropertyNamesAreFoundWhateverTheirCase)
{
    TTestForm* form = Form();
    ReadComponentText(QStringLiteral("object Form1: TTestForm\n  object Panel1: TTestControl\n"
                                     "    WIDTH = 120\n    font.NAME = 'Arial'\n  end\nend\n"),
                      form);
    auto* panel = static_cast<TTestControl*>(form->FindComponent(QStringLiteral("Panel1")));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->Width(), 120);
    EXPECT_EQ(panel->Font()->Name, QStringLiteral("Arial"));
}

// Class names as other writers spell them, and a class taken out of the
// registry: it is no longer found, in any spelling.
TEST_F(ComponentStream, ClassNamesAreFoundWhateverTheirCaseWhileRegistered)
{
    const QString text = QStringLiteral("object Form1: TTestForm\n  object Panel1: %1\n  end\nend\n");
    TTestForm* form = Form();
    ReadComponentText(text.arg(u"tTESTcontrol"), form);
    TComponent* panel = form->FindComponent(QStringLiteral("Panel1"));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->ClassName(), QStringLiteral("TTestControl"));

    UnRegisterClass(TTestControl::ClassInfo());
    for (const char* spelling : {"TTestControl", "ttestcontrol"})
        EXPECT_EQ(GetClass(QLatin1String(spelling)), nullptr) << spelling;
    RegisterClass(TTestControl::ClassInfo());
    EXPECT_EQ(GetClass(QStringLiteral("TTESTCONTROL")), TTestControl::ClassInfo());
}

TEST_F(ComponentStream, ErrorsLeaveWhatWasReadWithTheRoot)
{
    const char* const head = "object Form1: TTestForm\n  object Panel1: TTestControl\n  end\n";
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"  object X: TNope\n  end\nend\n", "EClassNotFound", "Class TNope not found"},
        {"  object X: TTestControl\n    Nope = 1\n  end\nend\n", "EReadError", "Property Nope does not exist"},
        {"  object X: TTestControl\n    Font.Nope = 1\n  end\nend\n", "EReadError", "Property Font.Nope does not exist"},
        {"  object X: TTestControl\n    Font..Name = 1\n  end\nend\n", "EReadError", "Property Font..Name does not exist"},
        {"  object X: TTestControl\n    Font. = 1\n  end\nend\n", "EReadError", "Property Font. does not exist"},
        {"  object X: TTestControl\n    Width.Name = 1\n  end\nend\n", "EReadError", "Property Width.Name does not exist"},
        {"  object X: TTestControl\n    Width = 'wide'\n  end\nend\n", "EReadError", "Invalid property value (Width)"},
        {"  object X: TTestControl\n    Align = alNowhere\n  end\nend\n", "EReadError", "Invalid property value (Align)"},
        {"  object X: TTestControl\n    OnClick = Missing\n  end\nend\n", "EReadError", "Method Missing for OnClick not found"},
        {"  object X: TObject\n  end\nend\n", "EReadError", "Class TObject cannot be created from a stream"},
        {"  object Panel1: TTestControl\n  end\nend\n", "EComponentError", "A component named Panel1 already exists"},
    };
    for (auto [tail, kind, message] : cases) {
        TTestForm* form = Form();
        try {
            ReadComponentText(QString::fromLatin1(head) + QString::fromLatin1(tail), form);
            ADD_FAILURE() << tail;
        } catch (const Exception& e) {
            EXPECT_STREQ(e.ClassName(), kind) << tail;
            EXPECT_EQ(e.Message(), QString::fromLatin1(message)) << tail;
        }
        TComponent* panel = form->FindComponent(QStringLiteral("Panel1"));
        ASSERT_NE(panel, nullptr) << tail;
        EXPECT_FALSE(panel->ComponentState.Contains(csLoading)) << "no component is left loading";
        EXPECT_FALSE(form->IsLoading());
    }
}

TEST_F(ComponentStream, FilesAreReplacedWholeOrNotAtAll)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("layout.QR"));
    TTestForm* form = RichForm();
    WriteComponentResFile(name, form);
    TTestForm* copy = Form();
    ReadComponentResFile(name, copy);
    EXPECT_EQ(WriteComponentNode(copy), WriteComponentNode(form));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1) << "no temporary file left";

    const QString missingDir = dir.filePath(QStringLiteral("none/layout.QR"));
    try {
        WriteComponentResFile(missingDir, form);
        ADD_FAILURE();
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Cannot create file \"%1\". No such file or directory").arg(missingDir));
    }
    try {
        ReadComponentResFile(missingDir, copy);
        ADD_FAILURE();
    } catch (const EFOpenError& e) {
        EXPECT_TRUE(e.Message().startsWith(QStringLiteral("Cannot open file \"%1\". ").arg(missingDir)));
    }

    // replacing a directory fails at the rename: an I/O error, the old content intact
    QDir(dir.path()).mkdir(QStringLiteral("taken.QR"));
    EXPECT_THROW(WriteComponentResFile(dir.filePath(QStringLiteral("taken.QR")), form), EInOutError);
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("taken.QR"))).isDir());

    // a foreign file read as a layout
    QFile foreign(dir.filePath(QStringLiteral("foreign.QR")));
    ASSERT_TRUE(foreign.open(QIODevice::WriteOnly));
    foreign.write("MZ\x90\x00 not a resource");
    foreign.close();
    EXPECT_THROW(ReadComponentResFile(foreign.fileName(), copy), EReadError);
    EXPECT_EQ(QFile(name).size(), WriteComponentRes(form).size()) << "the earlier file is untouched";
}
