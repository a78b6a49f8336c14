#include "artwork.h"

// Until a bitmap has its own drawing it is a plain panel-grey plate with a light rim,
// never pure black, so that it shows over the face.
RgbImage draw_artwork(const BitmapDeclaration& bitmap) {
    RgbImage image{bitmap.width, bitmap.height, {}};
    image.pixels.resize(static_cast<std::size_t>(bitmap.width) * bitmap.height, 0x404448);
    for (int y = 0; y < bitmap.height; ++y) {
        for (int x = 0; x < bitmap.width; ++x) {
            if (x == 0 || y == 0 || x == bitmap.width - 1 || y == bitmap.height - 1) {
                image.pixels[static_cast<std::size_t>(y) * bitmap.width + x] = 0xC8C8C0;
            }
        }
    }
    return image;
}
