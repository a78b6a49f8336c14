#include "module_file.h"

#include <dlfcn.h>
#include <elf.h>
#include <link.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace host {

namespace {

constexpr const char* BITMAP_SECTION = "gauge_bitmaps";

// Finds a named section in an ELF file of either class, checking every offset.
template <typename Ehdr, typename Shdr>
bool find_section(const std::vector<char>& file, const char* name, std::size_t& offset, std::size_t& size) {
    if (file.size() < sizeof(Ehdr)) return false;
    Ehdr header;
    std::memcpy(&header, file.data(), sizeof header);
    if (header.e_shentsize != sizeof(Shdr) || header.e_shstrndx >= header.e_shnum) return false;
    auto section = [&](std::size_t index, Shdr& out) {
        std::size_t at = header.e_shoff + index * sizeof(Shdr);
        if (header.e_shoff > file.size() || at + sizeof(Shdr) > file.size()) return false;
        std::memcpy(&out, file.data() + at, sizeof out);
        return out.sh_offset <= file.size() && out.sh_size <= file.size() - out.sh_offset;
    };
    Shdr names;
    if (!section(header.e_shstrndx, names)) return false;
    for (std::size_t i = 0; i < header.e_shnum; ++i) {
        Shdr candidate;
        if (!section(i, candidate) || candidate.sh_name >= names.sh_size) continue;
        const char* candidate_name = file.data() + names.sh_offset + candidate.sh_name;
        std::size_t room = names.sh_size - candidate.sh_name;
        if (strnlen(candidate_name, room) == std::strlen(name) && std::strncmp(candidate_name, name, room) == 0) {
            offset = candidate.sh_offset;
            size = candidate.sh_size;
            return true;
        }
    }
    return false;
}

} // namespace

ModuleFile::ModuleFile(const std::string& path) : path_(path) {
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        const char* reason = dlerror();
        throw std::runtime_error(reason ? reason : "cannot load");
    }
    link_map* map = nullptr;
    if (dlinfo(handle_, RTLD_DI_LINKMAP, &map) != 0 || map == nullptr) {
        dlclose(handle_);
        throw std::runtime_error("cannot locate the loaded image");
    }
    struct Search {
        std::uintptr_t base;
        std::vector<Segment>* segments;
    } search{map->l_addr, &segments_};
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void* data) {
            auto* s = static_cast<Search*>(data);
            if (info->dlpi_addr != s->base) return 0;
            for (int i = 0; i < info->dlpi_phnum; ++i) {
                const auto& ph = info->dlpi_phdr[i];
                if (ph.p_type != PT_LOAD) continue;
                std::uintptr_t begin = info->dlpi_addr + ph.p_vaddr;
                s->segments->push_back({begin, begin + ph.p_memsz, (ph.p_flags & PF_X) != 0});
            }
            return 1;
        },
        &search);
}

ModuleFile::~ModuleFile() {
    if (handle_ != nullptr) dlclose(handle_);
}

void* ModuleFile::symbol(const char* name) const {
    return dlsym(handle_, name);
}

bool ModuleFile::holds(const void* address, std::size_t size) const {
    auto begin = reinterpret_cast<std::uintptr_t>(address);
    for (const Segment& segment : segments_) {
        if (begin >= segment.begin && begin < segment.end && size <= segment.end - begin) return true;
    }
    return false;
}

bool ModuleFile::holds_code(const void* address) const {
    auto at = reinterpret_cast<std::uintptr_t>(address);
    for (const Segment& segment : segments_) {
        if (segment.executable && at >= segment.begin && at < segment.end) return true;
    }
    return false;
}

std::vector<EmbeddedBitmap> ModuleFile::read_bitmaps() const {
    std::ifstream in(path_, std::ios::binary);
    std::vector<char> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (file.size() < EI_NIDENT || std::memcmp(file.data(), ELFMAG, SELFMAG) != 0) {
        throw std::runtime_error("not an ELF file");
    }
    std::size_t offset = 0, size = 0;
    bool found = file[EI_CLASS] == ELFCLASS64 ? find_section<Elf64_Ehdr, Elf64_Shdr>(file, BITMAP_SECTION, offset, size)
                                              : find_section<Elf32_Ehdr, Elf32_Shdr>(file, BITMAP_SECTION, offset, size);
    if (!found) throw std::runtime_error("the module file carries no bitmaps");
    std::vector<EmbeddedBitmap> bitmaps;
    auto bytes = reinterpret_cast<const std::uint8_t*>(file.data() + offset);
    if (!unpack_bitmap_blob({bytes, size}, bitmaps)) throw std::runtime_error("the module's bitmaps are damaged");
    return bitmaps;
}

} // namespace host
