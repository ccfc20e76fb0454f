#pragma once
// References between components that may die before the referrer.
#include "classes/Component.h"

// Points a reference field of self at value, with free notification so that
// self's Notification can clear the field when value goes.
template <class T>
void TrackReference(TComponent* self, T*& field, T* value)
{
    if (field == value)
        return;
    if (field)
        self->RemoveFreeNotification(field);
    field = value;
    if (field)
        self->FreeNotification(field);
}
