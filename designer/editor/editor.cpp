#include "designer/editor/editor.h"

#include "classes/Published.h"

const QByteArray& editorFormResource();

Tmainform* mainform = nullptr;

VK_PUBLISHED(Tmainform)
{
    c.Field("edit", &Tmainform::edit);
    c.Field("Panel1", &Tmainform::Panel1);
    c.Field("BitBtn1", &Tmainform::BitBtn1);
    c.Field("BitBtn2", &Tmainform::BitBtn2);
    c.Method("FormActivate", &Tmainform::FormActivate);
}

void Tmainform::Create(TComponent* owner)
{
    inherited::Create(owner);
    InitFromResource(editorFormResource());
}

void Tmainform::Destroy()
{
    // The global must never outlive the dialog it names: the next text edit
    // then builds a fresh one.
    if (mainform == this)
        mainform = nullptr;
    inherited::Destroy();
}

void Tmainform::FormActivate(TObject*)
{
    // A dialog answered without a window on screen has nothing to focus.
    if (edit->CanFocus())
        edit->SetFocus();
}
