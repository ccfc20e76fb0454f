#pragma once
// Routines of the engine that the designer uses.
#include "engine/QuickRep.h"

// "Title", "Page Header", ... for a band kind.
QString QRBandTypeName(TQRBandType type);
// base followed by the smallest positive number that no component of owner has as its name.
QString UniqueName(const TComponent* owner, const QString& base);
// The installed font families, sorted.
QStringList GetFonts();
