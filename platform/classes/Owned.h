#pragma once
// An owning pointer for library objects: the object is freed (TObject::Free)
// when the pointer goes, however the scope that holds it ends. release()
// hands it on to its lasting owner once everything that could fail is done.
#include "Object.h"

#include <memory>

struct TFreeObject {
    void operator()(TObject* object) const { object->Free(); }
};

template <class T>
using TOwned = std::unique_ptr<T, TFreeObject>;
