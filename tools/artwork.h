// Draws the picture behind one declared bitmap.
#pragma once

#include "bitmap_list.h"
#include "dib.h"

RgbImage draw_artwork(const BitmapDeclaration& bitmap);
