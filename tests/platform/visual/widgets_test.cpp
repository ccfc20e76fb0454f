// The Qt widgets behind the controls: geometry and visibility follow the
// model, and what the user does with a widget reaches the model's events.
#include "controls/Buttons.h"
#include "controls/ExtCtrls.h"
#include "WidgetTest.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <gtest/gtest.h>
#include <memory>

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

namespace {

// The smallest rectangle holding every pixel that passes the test; empty when none.
QRect PixelBox(const QImage& image, const std::function<bool(const QColor&)>& test)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (test(image.pixelColor(x, y)))
                box |= QRect(x, y, 1, 1);
    return box;
}

QRect ColourBox(const QImage& image, const QColor& colour)
{
    return PixelBox(image, [&](const QColor& c) { return c == colour; });
}

// A red square glyph whose bottom-left pixel, the transparent colour, is white.
TBitmap* RedGlyph(int width, int height)
{
    QImage strip(width, height, QImage::Format_RGB32);
    strip.fill(Qt::red);
    strip.setPixelColor(0, height - 1, Qt::white);
    auto* glyph = new TBitmap();
    glyph->SetImage(strip);
    return glyph;
}

}  // namespace

// A glyph count outside 1 to 4 cannot split a strip: set in code it shows the
// whole strip, and read from a stream it is brought into the range.
TEST_F(WidgetTest, BitButtonGlyphCountOutsideItsRange)
{
    auto* button = Add<TBitBtn>();
    button->SetBounds(0, 0, 75, 25);
    button->NumGlyphs = 0;
    std::unique_ptr<TBitmap> glyph(RedGlyph(32, 16));
    button->SetGlyph(glyph.get());
    EXPECT_EQ(ColourBox(button->Grab(), Qt::red).width(), 32);

    const TPropInfo* count = TBitBtn::ClassInfo()->FindProperty(QStringLiteral("NumGlyphs"));
    count->Set(button, TValue::Integer(0));
    EXPECT_EQ(button->NumGlyphs, 1);
    count->Set(button, TValue::Integer(9));
    EXPECT_EQ(button->NumGlyphs, MaxGlyphs);
}

// Speed buttons and bit buttons place glyph and caption alike: the layout
// names the glyph's side, Margin -1 centres the pair, Spacing separates them.
TEST_F(WidgetTest, ButtonsPlaceGlyphAndCaptionByLayout)
{
    std::unique_ptr<TBitmap> glyph(RedGlyph(8, 8));
    auto* speed = Add<TSpeedButton>();
    auto* bit = Add<TBitBtn>();
    const auto glyphBox = [&](TControl* button, TButtonLayout layout, int margin, int spacing) {
        if (auto* s = dynamic_cast<TSpeedButton*>(button)) {
            s->SetGlyph(glyph.get());
            s->SetLayout(layout);
            s->SetMargin(margin);
            s->SetSpacing(spacing);
        } else {
            auto* b = static_cast<TBitBtn*>(button);
            b->SetGlyph(glyph.get());
            b->Layout = layout;
            b->Margin = margin;
            b->Spacing = spacing;
        }
        button->SetBounds(10, 10, 60, 60);
        button->SetCaption(QStringLiteral("Xy"));
        button->Invalidate();
        return ColourBox(static_cast<TControl*>(button)->Grab(), Qt::red);
    };
    for (TControl* button : {static_cast<TControl*>(speed), static_cast<TControl*>(bit)}) {
        SCOPED_TRACE(button->ClassName().toStdString());
        const QRect left = glyphBox(button, blGlyphLeft, -1, 4);
        const QRect right = glyphBox(button, blGlyphRight, -1, 4);
        const QRect top = glyphBox(button, blGlyphTop, -1, 4);
        const QRect bottom = glyphBox(button, blGlyphBottom, -1, 4);
        EXPECT_EQ(left.size(), QSize(8, 8));
        EXPECT_LT(left.right(), 30) << "left of the centred pair";
        EXPECT_GT(right.left(), 30);
        EXPECT_EQ(left.top(), right.top()) << "both centred down the button";
        EXPECT_NEAR(left.left() + right.right(), 59, 1) << "mirrored";
        EXPECT_LT(top.bottom(), 30);
        EXPECT_GT(bottom.top(), 30);
        EXPECT_EQ(top.left(), bottom.left()) << "both centred across the button";
        EXPECT_NEAR(top.top() + bottom.bottom(), 59, 1) << "mirrored";
        EXPECT_EQ(glyphBox(button, blGlyphLeft, 5, 4).left(), 5) << "a margin sets the glyph from the edge";
        EXPECT_EQ(glyphBox(button, blGlyphRight, 5, 4).right(), 54);
        const QRect spaced = glyphBox(button, blGlyphLeft, -1, 12);
        EXPECT_EQ(left.left() - spaced.left(), 4) << "wider spacing moves the centred glyph out by half of it";
    }
}

// Enter presses the focused button, else the default one, unless the focused
// control takes returns itself; Escape presses the cancel button.
TEST_F(WidgetTest, EnterAndEscapePressTheFormsButtons)
{
    auto* edit = Add<TEdit>();
    auto* memo = Add<TMemo>();
    auto* ok = Add<TButton>();
    auto* other = Add<TButton>();
    auto* cancel = Add<TButton>();
    ok->Default = true;
    cancel->Cancel = true;
    QStringList clicks;
    for (TButton* b : {ok, other, cancel}) {
        b->SetCaption(b == ok ? QStringLiteral("ok") : b == other ? QStringLiteral("other") : QStringLiteral("cancel"));
        b->OnClick = TNotifyEvent([&clicks](TObject* sender) { clicks << static_cast<TButton*>(sender)->Caption(); });
    }
    QStringList typed;
    edit->OnKeyPress = TKeyPressEvent([&](TObject*, QChar& key) { typed << QString(key); });
    const auto press = [](TWinControl* control, int key, const QString& text) {
        control->SetFocus();
        Type(control->Widget(), key, text);
    };
    press(edit, Qt::Key_Return, QStringLiteral("\r"));
    press(edit, Qt::Key_Escape, QStringLiteral("\x1b"));
    press(other, Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(clicks, (QStringList{"ok", "cancel", "other"}));
    EXPECT_TRUE(typed.isEmpty()) << "a key that pressed a button is no character";

    clicks.clear();
    memo->Lines()->Clear();
    press(memo, Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_TRUE(clicks.isEmpty()) << "the memo takes returns";
    memo->SetWantReturns(false);
    press(memo, Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(clicks, QStringList{"ok"});

    clicks.clear();
    ok->SetEnabled(false);
    press(edit, Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_TRUE(clicks.isEmpty()) << "a disabled default button is not pressed";
    EXPECT_EQ(typed, QStringList{"\r"}) << "the edit has the return then";
}

// With KeyPreview the form hears each key before the focused control and may
// swallow or replace it; without it the form hears nothing of its controls' keys.
TEST_F(WidgetTest, KeyPreviewLetsTheFormSeeKeysFirst)
{
    auto* edit = Add<TEdit>();
    QStringList heard;
    form->OnKeyDown = TKeyEvent([&](TObject*, int& key, TShiftState) { heard << QStringLiteral("form down %1").arg(key); });
    form->OnKeyPress = TKeyPressEvent([&](TObject*, QChar& key) {
        heard << QStringLiteral("form press ") + key;
        if (key == QChar('x'))
            key = QChar();
        if (key == QChar('a'))
            key = QChar('b');
    });
    edit->OnKeyPress = TKeyPressEvent([&](TObject*, QChar& key) { heard << QStringLiteral("edit press ") + key; });
    edit->SetFocus();
    Type(edit->Widget(), Qt::Key_Y, QStringLiteral("y"));
    EXPECT_EQ(heard, QStringList{"edit press y"});

    heard.clear();
    form->KeyPreview = true;
    Type(edit->Widget(), Qt::Key_X, QStringLiteral("x"));
    Type(edit->Widget(), Qt::Key_A, QStringLiteral("a"));
    EXPECT_EQ(heard, (QStringList{QStringLiteral("form down %1").arg(int(Qt::Key_X)), "form press x",
                                  QStringLiteral("form down %1").arg(int(Qt::Key_A)), "form press a", "edit press b"}));
    EXPECT_EQ(edit->Text(), QStringLiteral("yb"));
}

// Speed buttons with captions (a zoom group as a toolbar has it), glyph and
// caption in each layout, and bit buttons of several kinds.
TEST_F(WidgetTest, ScreenshotOfButtons)
{
    form->SetCaption(QStringLiteral("Buttons"));
    std::unique_ptr<TBitmap> glyph(RedGlyph(12, 12));
    const auto speed = [&](int left, int top, int width, int height, const QString& caption) {
        auto* button = Add<TSpeedButton>();
        button->SetBounds(left, top, width, height);
        button->SetCaption(caption);
        return button;
    };
    TSpeedButton* zoom = speed(4, 4, 25, 25, QStringLiteral("100 %"));
    zoom->Font()->SetName(QStringLiteral("MS Serif"));
    zoom->Font()->SetHeight(-8);
    zoom->SetSpacing(2);
    zoom->SetFlat(true);
    zoom->SetGroupIndex(2);
    zoom->SetDown(true);
    TSpeedButton* fit = speed(29, 4, 25, 25, QStringLiteral("Fit"));
    fit->SetFlat(true);
    fit->SetGroupIndex(2);
    const TButtonLayout layouts[] = {blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom};
    for (int i = 0; i < 4; ++i) {
        TSpeedButton* b = speed(4 + i * 70, 40, 66, i < 2 ? 25 : 40, QStringLiteral("&Layout"));
        b->SetGlyph(glyph.get());
        b->SetLayout(layouts[i]);
    }
    const TBitBtnKind kinds[] = {bkOK, bkCancel, bkHelp, bkClose};
    for (int i = 0; i < 4; ++i) {
        auto* b = Add<TBitBtn>();
        b->SetKind(kinds[i]);
        b->SetBounds(4 + i * 72, 100, 68, 25);
        b->SetEnabled(i != 2);
    }
    auto* top = Add<TBitBtn>();
    top->SetGlyph(glyph.get());
    top->Layout = blGlyphTop;
    top->SetCaption(QStringLiteral("Glyph on top"));
    top->SetBounds(4, 140, 100, 40);
    const QImage image = form->Grab();

    // the zoom caption sits inside its button, centred (one pixel in, being down)
    EXPECT_TRUE(SaveScreenshot(image, QStringLiteral("buttons")));
    const QRect text =
        PixelBox(image.copy(zoom->Left(), zoom->Top(), 25, 25), [](const QColor& c) { return c.lightness() < 150; });
    ASSERT_FALSE(text.isEmpty());
    EXPECT_GT(text.left(), 0);
    EXPECT_LT(text.right(), 24);
    EXPECT_NEAR(text.left() + text.right(), 25, 2);
}
