// Writes a module's bitmaps from its declaration list: one .bmp per id for review and for
// the Windows resource compiler, a resource script, and the blob embedded in module
// files on other targets.
//
//   bitmap_tool --list bitmaps.txt --bmp-dir DIR [--rc FILE] [--blob FILE]
#include "artwork.h"
#include "bitmap_blob.h"
#include "bitmap_list.h"
#include "dib.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <stdexcept>
#include <string>

namespace {

void write_file(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error(path + ": cannot write");
}

std::string hex_id(std::uint32_t id) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", id);
    return text;
}

} // namespace

int main(int argc, char** argv) {
    std::map<std::string, std::string> options;
    for (int i = 1; i + 1 < argc; i += 2) options[argv[i]] = argv[i + 1];
    if (!options.contains("--list") || !options.contains("--bmp-dir")) {
        std::cerr << "usage: bitmap_tool --list bitmaps.txt --bmp-dir DIR [--rc FILE] [--blob FILE]\n";
        return 2;
    }
    try {
        const std::string dir = options["--bmp-dir"];
        std::vector<EmbeddedBitmap> embedded;
        std::string rc;
        for (const BitmapDeclaration& bitmap : read_bitmap_list(options["--list"])) {
            std::vector<std::uint8_t> dib = encode_dib(draw_artwork(bitmap), bitmap.bits_per_pixel);
            const std::string file = dir + "/" + hex_id(bitmap.id) + ".bmp";
            write_file(file, bmp_file_from_dib(dib));
            rc += std::to_string(bitmap.id) + " BITMAP \"" + file + "\"\n";
            embedded.push_back({bitmap.id, std::move(dib)});
        }
        if (options.contains("--rc")) write_file(options["--rc"], std::vector<std::uint8_t>(rc.begin(), rc.end()));
        if (options.contains("--blob")) write_file(options["--blob"], pack_bitmap_blob(embedded));
    } catch (const std::exception& error) {
        std::cerr << "bitmap_tool: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
