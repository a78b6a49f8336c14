#include "bitmap_list.h"

#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>

std::vector<BitmapDeclaration> read_bitmap_list(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error(path + ": cannot open");
    std::vector<BitmapDeclaration> list;
    std::set<std::uint32_t> seen;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        auto fail = [&](const std::string& problem) {
            throw std::runtime_error(path + ":" + std::to_string(number) + ": " + problem);
        };
        if (auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        std::istringstream fields(line);
        std::string id_text;
        if (!(fields >> id_text)) continue;
        BitmapDeclaration bitmap{};
        try {
            std::size_t used = 0;
            unsigned long id = std::stoul(id_text, &used, 0);
            if (used != id_text.size() || id == 0 || id > 0xFFFF) fail("bad bitmap id '" + id_text + "'");
            bitmap.id = static_cast<std::uint32_t>(id);
        } catch (const std::logic_error&) {
            fail("bad bitmap id '" + id_text + "'");
        }
        if (!(fields >> bitmap.width >> bitmap.height >> bitmap.bits_per_pixel)) fail("expected: id width height bpp what");
        if (bitmap.width < 1 || bitmap.width > 4096 || bitmap.height < 1 || bitmap.height > 4096) fail("size out of range");
        if (bitmap.bits_per_pixel != 8 && bitmap.bits_per_pixel != 24) fail("depth must be 8 or 24");
        std::getline(fields >> std::ws, bitmap.what);
        if (!seen.insert(bitmap.id).second) fail("bitmap id declared twice");
        list.push_back(bitmap);
    }
    return list;
}
