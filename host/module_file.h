// A module file opened by the host: the loaded library, the address range of its image,
// and the bitmaps embedded in it.
#pragma once

#include "bitmap_blob.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace host {

class ModuleFile {
public:
    // Opens the library; throws std::runtime_error with the loader's message on failure.
    explicit ModuleFile(const std::string& path);
    ~ModuleFile();
    ModuleFile(const ModuleFile&) = delete;
    ModuleFile& operator=(const ModuleFile&) = delete;

    const std::string& path() const { return path_; }
    // The address of an exported symbol, or nullptr.
    void* symbol(const char* name) const;
    // True when [address, address + size) lies inside one loaded segment of the module.
    bool holds(const void* address, std::size_t size) const;
    // True when `address` lies inside an executable segment of the module.
    bool holds_code(const void* address) const;
    // The bitmaps the module file carries. Throws std::runtime_error when the file has
    // none or they are damaged.
    std::vector<EmbeddedBitmap> read_bitmaps() const;

private:
    struct Segment {
        std::uintptr_t begin, end;
        bool executable;
    };
    std::string path_;
    void* handle_ = nullptr;
    std::vector<Segment> segments_;
};

} // namespace host
