// The Qt widgets behind the controls: geometry and visibility follow the
// model, and what the user does with a widget reaches the model's events.
#include "controls/Buttons.h"
#include "controls/ExtCtrls.h"
#include "forms/Forms.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <gtest/gtest.h>

namespace {

// A shown form that tests put controls on.
struct WidgetTest : ::testing::Test {
    void SetUp() override
    {
        form = New<TForm>(nullptr);
        form->SetBounds(10, 10, 300, 200);
        form->Show();
    }
    void TearDown() override { form->Free(); }
    template <class T>
    T* Add()
    {
        T* c = New<T>(form);
        c->SetParent(form);
        return c;
    }
    static void Type(QWidget* widget, int key, const QString& text)
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(widget, &press);
    }
    TForm* form = nullptr;
};

}  // namespace

bool SaveScreenshot(const QImage& image, const QString& name)
{
    const QString dir = qEnvironmentVariable("VK_BUILD_DIR", QDir::currentPath()) + QStringLiteral("/screenshots");
    QDir().mkpath(dir);
    return image.save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}

TEST_F(WidgetTest, GeometryAndVisibilityFollowTheModel)
{
    auto* panel = Add<TPanel>();
    auto* edit = New<TEdit>(form);
    edit->SetBounds(5, 6, 70, 21);
    EXPECT_FALSE(edit->Widget()->isVisible()) << "no parent, nothing shown";
    edit->SetParent(panel);
    EXPECT_EQ(edit->Widget()->parentWidget(), panel->Widget());
    EXPECT_EQ(edit->Widget()->geometry(), QRect(5, 6, 70, 21));
    EXPECT_TRUE(edit->Widget()->isVisible());
    EXPECT_TRUE(edit->Showing());
    panel->SetAlign(alBottom);
    EXPECT_EQ(panel->Widget()->geometry(), QRect(0, 159, 300, 41));
    panel->Hide();
    EXPECT_FALSE(edit->Widget()->isVisible());
    EXPECT_FALSE(edit->Showing());
    EXPECT_TRUE(edit->Visible());
    EXPECT_EQ(FindControl(edit->Widget()), edit);
}

TEST_F(WidgetTest, UserInputReachesTheEvents)
{
    auto* edit = Add<TEdit>();
    EXPECT_EQ(edit->Height(), 21) << "the default height for the default font";
    int changes = 0;
    edit->OnChange = TNotifyEvent([&](TObject*) { ++changes; });
    // a handler may replace a typed character or swallow it
    edit->OnKeyPress = TKeyPressEvent([](TObject*, QChar& key) {
        if (key == QChar('a'))
            key = QChar('b');
        else if (key == QChar('x'))
            key = QChar();
    });
    Type(edit->Widget(), Qt::Key_A, QStringLiteral("a"));
    Type(edit->Widget(), Qt::Key_X, QStringLiteral("x"));
    Type(edit->Widget(), Qt::Key_C, QStringLiteral("c"));
    EXPECT_EQ(edit->Text(), QStringLiteral("bc"));
    EXPECT_EQ(changes, 2);

    auto* box = Add<TCheckBox>();
    int clicks = 0;
    box->OnClick = TNotifyEvent([&](TObject*) { ++clicks; });
    static_cast<QCheckBox*>(box->Widget())->click();
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(clicks, 1);

    auto* combo = Add<TComboBox>();
    combo->Items()->SetStrings({QStringLiteral("8"), QStringLiteral("9")});
    std::vector<QString> events;
    combo->OnChange = TNotifyEvent([&](TObject*) { events.push_back("change"); });
    combo->OnClick = TNotifyEvent([&](TObject*) { events.push_back("click"); });
    auto* qbox = static_cast<QComboBox*>(combo->Widget());
    qbox->lineEdit()->setText(QStringLiteral("12"));
    EXPECT_EQ(combo->Text(), QStringLiteral("12"));
    emit qbox->activated(1);
    EXPECT_EQ(combo->Text(), QStringLiteral("9"));
    EXPECT_EQ(events, (std::vector<QString>{"change", "change", "click"}));
}

TEST_F(WidgetTest, ScrollBarActionsNotifyBeforeThePositionThenEndTheOperation)
{
    auto* bar = Add<TScrollBar>();
    bar->SetSmallChange(5);
    std::vector<std::pair<TScrollCode, int>> seen;  // code and the bar's position at the time
    bar->OnScroll = TScrollEvent([&](TObject*, TScrollCode code, int&) { seen.emplace_back(code, bar->Position()); });
    static_cast<QScrollBar*>(bar->Widget())->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(seen, (std::vector<std::pair<TScrollCode, int>>{{scLineDown, 0}, {scEndScroll, 5}}));
    EXPECT_EQ(bar->Position(), 5);
    EXPECT_EQ(static_cast<QScrollBar*>(bar->Widget())->value(), 5);
}

TEST_F(WidgetTest, AnExceptionInAnEventHandlerGoesToTheApplication)
{
    auto* button = Add<TButton>();
    button->OnClick = TNotifyEvent([](TObject*) { throw EInvalidCast(QStringLiteral("Invalid class typecast")); });
    QStringList handled;
    Application->OnException = TExceptionEvent([&](TObject*, const std::exception& e) { handled << e.what(); });
    static_cast<QAbstractButton*>(button->Widget())->click();
    Application->OnException = TExceptionEvent();
    EXPECT_EQ(handled, QStringList{QStringLiteral("Invalid class typecast")});
}

TEST_F(WidgetTest, ScreenshotOfControls)
{
    form->SetCaption(QStringLiteral("Controls"));
    auto* panel = Add<TPanel>();
    panel->SetAlign(alTop);
    panel->SetCaption(QStringLiteral("Panel"));
    auto* button = New<TSpeedButton>(form);
    button->SetParent(panel);
    button->SetBounds(4, 8, 25, 25);
    button->SetCaption(QStringLiteral("B"));
    auto* box = Add<TCheckBox>();
    box->SetBounds(8, 50, 97, 17);
    box->SetCaption(QStringLiteral("Check"));
    auto* edit = Add<TEdit>();
    edit->SetBounds(8, 75, 121, edit->Height());
    edit->SetText(QStringLiteral("Text"));
    auto* ok = Add<TBitBtn>();
    ok->SetKind(bkOK);
    ok->SetBounds(8, 110, 75, 25);
    const QImage image = form->Grab();
    ASSERT_EQ(image.size(), QSize(300, 200));
    // the raised panel's light top edge and the edit's window colour are there
    EXPECT_EQ(image.pixelColor(50, 0), ColorToQColor(clBtnHighlight));
    EXPECT_EQ(image.pixelColor(60, 75 + edit->Height() / 2), ColorToQColor(clWindow));

    EXPECT_TRUE(SaveScreenshot(image, QStringLiteral("controls")));
}

// A glyph count outside 1 to 4 cannot split a strip: set in code it shows the
// whole strip, and read from a stream it is brought into the range.
TEST_F(WidgetTest, BitButtonGlyphCountOutsideItsRange)
{
    auto* button = Add<TBitBtn>();
    button->NumGlyphs = 0;
    QImage strip(32, 16, QImage::Format_RGB32);
    strip.fill(Qt::red);
    TBitmap glyph;
    glyph.SetImage(strip);
    button->SetGlyph(&glyph);
    const QIcon icon = static_cast<QPushButton*>(button->Widget())->icon();
    EXPECT_EQ(icon.availableSizes().value(0), QSize(32, 16));

    const TPropInfo* count = TBitBtn::ClassInfo()->FindProperty(QStringLiteral("NumGlyphs"));
    count->Set(button, TValue::Integer(0));
    EXPECT_EQ(button->NumGlyphs, 1);
    count->Set(button, TValue::Integer(9));
    EXPECT_EQ(button->NumGlyphs, MaxGlyphs);
}
