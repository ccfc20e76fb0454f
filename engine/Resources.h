#pragma once
// The engine's resources: its string table and its toolbar glyphs.
#include "graphics/Picture.h"
#include "rtl/Exceptions.h"

VK_EXCEPTION(EResNotFound, Exception);

// The engine's string of the identifier; raises EResNotFound for an unknown one.
QString LoadStr(int ident);
// A new bitmap of the named toolbar glyph, owned by the caller; raises
// EResNotFound for an unknown name.
TBitmap* LoadGlyph(const QString& name);
// The names of every glyph the engine holds.
QStringList GlyphNames();
