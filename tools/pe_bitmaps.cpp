#include "pe_bitmaps.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

constexpr std::uint32_t RT_BITMAP = 2;
constexpr std::uint32_t SUBDIRECTORY = 0x80000000u;
constexpr std::size_t RESOURCE_DIRECTORY_INDEX = 2;

class PeFile {
public:
    explicit PeFile(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {
        if (u16(0) != 0x5A4D) fail("not an MZ image");
        const std::uint32_t pe = u32(0x3C);
        if (u32(pe) != 0x00004550) fail("no PE signature");
        const std::uint32_t sections = u16(pe + 6);
        const std::uint32_t optional = pe + 24;
        const std::uint32_t optional_size = u16(pe + 20);
        const bool pe32_plus = u16(optional) == 0x20B;
        const std::uint32_t directories = optional + (pe32_plus ? 112 : 96);
        if (u32(directories - 4) <= RESOURCE_DIRECTORY_INDEX) fail("no resource directory");
        resources_rva_ = u32(directories + 8 * RESOURCE_DIRECTORY_INDEX);
        for (std::uint32_t i = 0; i < sections; ++i) {
            const std::uint32_t at = optional + optional_size + 40 * i;
            sections_.push_back({u32(at + 12), std::max(u32(at + 8), u32(at + 16)), u32(at + 20)});
        }
        if (resources_rva_ == 0) fail("no resources");
    }

    // The resource tree's root, as a file offset.
    std::uint32_t resource_root() const { return offset_of(resources_rva_); }

    std::uint32_t offset_of(std::uint32_t rva) const {
        for (const Section& s : sections_) {
            if (rva >= s.rva && rva - s.rva < s.size) return s.raw + (rva - s.rva);
        }
        fail("address outside every section");
    }

    // The entries of a resource directory: (id, offset of its target from the root).
    std::vector<std::pair<std::uint32_t, std::uint32_t>> entries(std::uint32_t directory) const {
        std::vector<std::pair<std::uint32_t, std::uint32_t>> out;
        const std::uint32_t count = u16(directory + 12) + u16(directory + 14);
        if (count > 4096) fail("resource directory too long");
        for (std::uint32_t i = 0; i < count; ++i) out.emplace_back(u32(directory + 16 + 8 * i), u32(directory + 20 + 8 * i));
        return out;
    }

    std::vector<std::uint8_t> slice(std::uint32_t offset, std::uint32_t size) const {
        if (offset > bytes_.size() || size > bytes_.size() - offset) fail("resource data outside the file");
        return {bytes_.begin() + offset, bytes_.begin() + offset + size};
    }

    std::uint32_t u32(std::size_t at) const {
        if (at + 4 > bytes_.size()) fail("truncated");
        return bytes_[at] | bytes_[at + 1] << 8 | bytes_[at + 2] << 16 | static_cast<std::uint32_t>(bytes_[at + 3]) << 24;
    }
    std::uint32_t u16(std::size_t at) const {
        if (at + 2 > bytes_.size()) fail("truncated");
        return bytes_[at] | bytes_[at + 1] << 8;
    }

private:
    struct Section {
        std::uint32_t rva, size, raw;
    };
    [[noreturn]] static void fail(const char* what) { throw std::runtime_error(what); }

    std::vector<std::uint8_t> bytes_;
    std::vector<Section> sections_;
    std::uint32_t resources_rva_ = 0;
};

} // namespace

std::vector<EmbeddedBitmap> read_pe_bitmaps(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error(path + ": cannot open");
    try {
        std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        const PeFile pe(std::move(bytes));
        const std::uint32_t root = pe.resource_root();
        std::vector<EmbeddedBitmap> bitmaps;
        for (auto [type, type_target] : pe.entries(root)) {
            if (type != RT_BITMAP || !(type_target & SUBDIRECTORY)) continue;
            for (auto [id, id_target] : pe.entries(root + (type_target & ~SUBDIRECTORY))) {
                if ((id & SUBDIRECTORY) || !(id_target & SUBDIRECTORY)) continue; // named resources are not ours
                for (auto [language, data_target] : pe.entries(root + (id_target & ~SUBDIRECTORY))) {
                    (void)language;
                    if (data_target & SUBDIRECTORY) continue;
                    const std::uint32_t entry = root + data_target;
                    bitmaps.push_back({id, pe.slice(pe.offset_of(pe.u32(entry)), pe.u32(entry + 4))});
                }
            }
        }
        return bitmaps;
    } catch (const std::runtime_error& error) {
        throw std::runtime_error(path + ": " + error.what());
    }
}
