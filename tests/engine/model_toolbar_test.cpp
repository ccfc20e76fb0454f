// The toolbar base's placement numbers and the engine's resources.
#include "engine/Printables.h"
#include "engine/Resources.h"
#include "classes/Published.h"
#include "engine/Toolbar.h"
#include "forms/Forms.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// A toolbar that records what its SetComponent override saw while the base was building it.
class ProbeToolbar : public TQRToolbar {
    VK_CLASS(ProbeToolbar, TQRToolbar)
public:
    void SetComponent(TComponent* component) override
    {
        TQRToolbar::SetComponent(component);
        ++calls;
        eventsOnInside = EventsOn;
    }
    int calls = 0;
    bool eventsOnInside = true;
};

}  // namespace

VK_PUBLISHED(ProbeToolbar) {}

namespace {

TEST(ToolbarBase, CreatePlacesAndFlagsAsTheDesignerExpects)
{
    TForm* form = New<TForm>(nullptr);
    auto* bar = New<ProbeToolbar>(form);
    bar->SetParent(form);
    EXPECT_EQ(bar->calls, 1);  // the override ran while the base was being built
    EXPECT_FALSE(bar->eventsOnInside);
    EXPECT_TRUE(bar->EventsOn);
    EXPECT_EQ(bar->Height(), 30);
    EXPECT_FALSE(bar->Visible());
    EXPECT_TRUE(bar->ShowHint());
    EXPECT_EQ(bar->Align(), alTop);
    EXPECT_EQ(bar->NextX, 4);
    EXPECT_EQ(bar->Component, nullptr);

    int clicks = 0;
    TSpeedButton* bold = bar->AddButton(QString(), QStringLiteral("QRBOLDBITMAP"), QStringLiteral("Bold"), 3,
                                        TNotifyEvent([&](TObject*) { ++clicks; }));
    bar->AddSpace();
    TSpeedButton* plain = bar->AddButton(QStringLiteral("Go"), QString(), QString(), 0, TNotifyEvent());
    TCheckBox* box = bar->AddCheckBox(QStringLiteral("Title"), QString(), TNotifyEvent([&](TObject*) { ++clicks; }));
    EXPECT_EQ(bold->BoundsRect(), QRect(4, 4, 24, 24));
    EXPECT_EQ(plain->BoundsRect(), QRect(36, 4, 24, 24));
    EXPECT_EQ(box->Left(), 60);
    EXPECT_EQ(box->Top(), 8);
    EXPECT_EQ(box->Width(), 80);
    EXPECT_EQ(bar->NextX, 140);
    EXPECT_TRUE(bold->AllowAllUp());
    EXPECT_EQ(bold->GroupIndex(), 3);
    EXPECT_EQ(bold->Hint(), QStringLiteral("Bold"));
    EXPECT_EQ(bold->Owner(), bar);
    EXPECT_EQ(box->Parent(), bar);
    EXPECT_EQ(bold->Glyph()->Width(), 18);
    EXPECT_EQ(plain->Caption(), QStringLiteral("Go"));
    bold->Click();
    box->SetChecked(true);
    EXPECT_EQ(clicks, 2);
    EXPECT_THROW(bar->AddButton(QString(), QStringLiteral("QRNOSUCHBITMAP"), QString(), 0, TNotifyEvent()),
                 EResNotFound);

    // the element shown is forgotten when it goes
    TQRLabel* label = New<TQRLabel>(form);
    bar->SetComponent(label);
    EXPECT_FALSE(bar->EventsOn);
    bar->EndSetComponent();
    EXPECT_TRUE(bar->EventsOn);
    label->Free();
    EXPECT_EQ(bar->Component, nullptr);
    form->Free();
}

TEST(EngineResources, GlyphsAndStrings)
{
    const QStringList small = {"QRBOLDBITMAP", "QRITALICBITMAP", "QRULINEBITMAP", "QRALLEFTBITMAP",
                               "QRALCENTERBITMAP", "QRALRIGHTBITMAP", "QRFONTCOLORBITMAP", "QRBKCOLORBITMAP"};
    const QStringList large = {"QRFRAMELEFTBITMAP", "QRFRAMETOPBITMAP",  "QRFRAMEBTMBITMAP", "QRFRAMERIGHTBITMAP",
                               "QRAUTOSIZEBITMAP",  "QROKBITMAP",        "QRCANCELBITMAP",   "QRFUNCTIONBITMAP",
                               "QRRECTANGLEBITMAP", "QRCIRCLEBITMAP",    "QRVERTLINEBITMAP", "QRHORZLINEBITMAP",
                               "QRTOPBOTTOMBITMAP", "QRLEFTRIGHTBITMAP"};
    EXPECT_EQ(GlyphNames().size(), small.size() + large.size());
    std::set<QByteArray> distinct;
    for (const QString& name : small + large) {
        TBitmap* glyph = LoadGlyph(name);
        const int size = small.contains(name) ? 18 : 20;
        EXPECT_EQ(glyph->Width(), size) << name.toStdString();
        EXPECT_EQ(glyph->Height(), size) << name.toStdString();
        const QImage& image = glyph->Image();
        std::set<QRgb> colours;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                colours.insert(image.pixel(x, y));
        EXPECT_LE(colours.size(), 16u) << name.toStdString();
        EXPECT_GE(colours.size(), 2u) << name.toStdString() << " draws nothing";
        distinct.insert(glyph->SaveToBytes());
        glyph->Free();
    }
    EXPECT_EQ(distinct.size(), static_cast<size_t>(small.size() + large.size()));
    EXPECT_THROW(LoadGlyph(QStringLiteral("QRMISSINGBITMAP")), EResNotFound);

    EXPECT_EQ(LoadStr(62773), QStringLiteral("OK"));
    EXPECT_EQ(LoadStr(62787), QStringLiteral("Page"));
    EXPECT_EQ(LoadStr(62834), QStringLiteral("Text export (ASCII) filter"));
    EXPECT_EQ(LoadStr(62835), QStringLiteral("Text file"));
    EXPECT_EQ(LoadStr(62836), QStringLiteral("TXT"));
    EXPECT_EQ(LoadStr(62866), QStringLiteral("Error loading report"));
    EXPECT_THROW(LoadStr(1), EResNotFound);
}

}  // namespace
