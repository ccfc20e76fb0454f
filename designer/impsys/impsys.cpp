#include "designer/impsys/impsys.h"

#include "classes/Published.h"
#include "engine/References.h"

#include <array>

const QByteArray& impsysFormResource();

Timptxtsys* imptxtsys = nullptr;

namespace {
// The kind behind each radio item, in the items' order (not the kinds' order).
constexpr std::array<TQRSysDataType, 7> kItemKinds = {qrsPageNumber,  qrsDate,     qrsTime,       qrsDateTime,
                                                      qrsDetailCount, qrsDetailNo, qrsReportTitle};
}  // namespace

VK_PUBLISHED(Timptxtsys)
{
    c.Field("RadioGroup1", &Timptxtsys::RadioGroup1);
    c.Field("BitBtn1", &Timptxtsys::BitBtn1);
    c.Field("BitBtn2", &Timptxtsys::BitBtn2);
    c.Method("BitBtn1Click", &Timptxtsys::BitBtn1Click);
    c.Method("FormActivate", &Timptxtsys::FormActivate);
}

void Timptxtsys::Create(TComponent* owner)
{
    inherited::Create(owner);
    InitFromResource(impsysFormResource());
}

void Timptxtsys::SetSysData(TQRSysData* sysData)
{
    TrackReference(this, sysData_, sysData);
}

void Timptxtsys::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == sysData_)
        sysData_ = nullptr;
}

void Timptxtsys::FormActivate(TObject*)
{
    if (!sysData_)
        return;
    for (std::size_t i = 0; i < kItemKinds.size(); ++i)
        if (sysData_->Data() == kItemKinds[i])
            RadioGroup1->SetItemIndex(static_cast<int>(i));
}

void Timptxtsys::BitBtn1Click(TObject*)
{
    const int index = RadioGroup1->ItemIndex();
    if (sysData_ && index >= 0 && index < static_cast<int>(kItemKinds.size()))
        sysData_->SetData(kItemKinds[index]);
}
