// Draws one module's bitmaps from its declaration list and its own records (linked into
// this program), and writes them as the module build needs them: one .bmp per id for
// review and for the Windows resource compiler, a resource script, the blob embedded in
// module files on other targets, and a contact sheet.
//
//   artwork_<Module> --module NAME --list bitmaps.txt --bmp-dir DIR [--rc FILE] [--blob FILE] [--sheet FILE.png]
#include "bitmap_blob.h"
#include "bitmap_list.h"
#include "contact_sheet.h"
#include "dib.h"
#include "paint.h"
#include "scene.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
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

// Bitmaps the records name but the list does not declare: the module would miss them.
void warn_undeclared(const artwork::Scene& scene, const std::vector<BitmapDeclaration>& list) {
    std::set<std::uint32_t> declared;
    for (const BitmapDeclaration& bitmap : list) declared.insert(bitmap.id);
    for (const artwork::GaugeRecords& gauge : scene.gauges()) {
        for (const ElementHeader* element : gauge.elements) {
            if (element->bitmap_id != BITMAP_NONE && !declared.contains(element->bitmap_id)) {
                std::cerr << "artwork: warning: gauge \"" << gauge.name << "\" shows bitmap " << hex_id(element->bitmap_id)
                          << ", which the list does not declare\n";
            }
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    std::map<std::string, std::string> options;
    for (int i = 1; i + 1 < argc; i += 2) options[argv[i]] = argv[i + 1];
    if (!options.contains("--module") || !options.contains("--list") || !options.contains("--bmp-dir")) {
        std::cerr << "usage: " << argv[0]
                  << " --module NAME --list bitmaps.txt --bmp-dir DIR [--rc FILE] [--blob FILE] [--sheet FILE.png]\n";
        return 2;
    }
    try {
        const std::string module = options["--module"];
        const std::string dir = options["--bmp-dir"];
        const std::vector<BitmapDeclaration> list = read_bitmap_list(options["--list"]);
        const artwork::Scene scene = artwork::Scene::from_linkage(Linkage);
        warn_undeclared(scene, list);
        std::vector<EmbeddedBitmap> embedded;
        std::vector<artwork::SheetEntry> sheet;
        std::string rc;
        for (const BitmapDeclaration& bitmap : list) {
            const artwork::Job job{bitmap, scene, list};
            const RgbImage image = artwork::paint(module, job);
            if (image.width != bitmap.width || image.height != bitmap.height) {
                throw std::runtime_error(hex_id(bitmap.id) + ": painted at the wrong size");
            }
            std::vector<std::uint8_t> dib = encode_dib(image, bitmap.bits_per_pixel);
            const std::string file = dir + "/" + hex_id(bitmap.id) + ".bmp";
            write_file(file, bmp_file_from_dib(dib));
            rc += std::to_string(bitmap.id) + " BITMAP \"" + file + "\"\n";
            DecodedDib written;
            if (options.contains("--sheet") && decode_dib(dib, written)) sheet.push_back({bitmap, written.image});
            embedded.push_back({bitmap.id, std::move(dib)});
        }
        if (options.contains("--rc")) write_file(options["--rc"], std::vector<std::uint8_t>(rc.begin(), rc.end()));
        if (options.contains("--blob")) write_file(options["--blob"], pack_bitmap_blob(embedded));
        if (options.contains("--sheet")) artwork::write_contact_sheet(options["--sheet"], module, sheet);
    } catch (const std::exception& error) {
        std::cerr << argv[0] << ": " << error.what() << "\n";
        return 1;
    }
    return 0;
}
