#pragma once
// Lists of the components an owner (and the data modules) own directly, by
// class. Each routine returns a new list that the caller frees; the entries'
// objects are not owned by the list.
#include "designer/VornakExport.h"
#include "classes/StringList.h"

VORNAK_EXPORT TStringList* AllDataSets(TComponent* owner, bool includeDataModules);
VORNAK_EXPORT TStringList* AllDataSources(TComponent* owner, bool includeDataModules);
// Names of the sub-detail bands the owner owns; an empty list for no owner.
VORNAK_EXPORT TStringList* allsubdetail(TComponent* owner);
