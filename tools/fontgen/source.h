#pragma once
// The C++ source that defines kStrokeRoman and kBitmap8By13 (web/fonts.h) from captured fonts.
#include <ostream>

#include "capture.h"

void writeFontSource(std::ostream& out, const StrokeFontData& roman, const BitmapFontData& fixed);
