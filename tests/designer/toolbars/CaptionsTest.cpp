// The captions of the report and band toolbars on screen: a caption wider
// than its box (the font the system substitutes may be wider than the one
// the layout was made for) ends inside its box, clear of the next control.
#include "TextInk.h"
#include "ToolbarFixture.h"
#include "designer/toolbars/BandToolbar.h"
#include "designer/toolbars/QuickRepToolbar.h"

namespace {

class CaptionsTest : public ToolbarTest {
protected:
    // The caption shows, and its box's last column (which the next control abuts) stays clear of it.
    static void ExpectInside(const QImage& image, const TControl* control, int captionLeft)
    {
        const QRect box = control->BoundsRect();
        const int ink = LastInkColumn(image, box);
        EXPECT_GT(ink, box.left() + captionLeft) << control->Caption().toStdString();
        EXPECT_LT(ink, box.right()) << control->Caption().toStdString();
    }
};

TEST_F(CaptionsTest, ReportToolbarCheckBoxesKeepTheirCaptionsOffTheNextBox)
{
    auto* bar = NewToolbar<TQuickRepToolbar>();
    Screenshot(bar, "report_toolbar_captions");
    const QImage image = bar->Grab();
    for (TCheckBox* box : {bar->PageHeaderBox, bar->TitleBox, bar->ColumnHeaderBox, bar->DetailBox,
                           bar->SummaryBox, bar->PageFooterBox})
        ExpectInside(image, box, 20);
}

TEST_F(CaptionsTest, BandToolbarNameLabelKeepsTheLongestKindOffTheButtons)
{
    auto* bar = NewToolbar<TQRCustomBandToolbar>();
    bar->SetComponent(NewBand(rbColumnHeader));
    Screenshot(bar, "band_toolbar_captions");
    ExpectInside(bar->Grab(), bar->BandNameLabel, 0);
}

}  // namespace
