// Fuzz targets run in a temporary directory of their own (give libFuzzer absolute corpus
// paths): the loaders read Windows paths relative to the current directory.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

inline void enter_fuzz_directory(const char* folder) {
    static std::string directory;
    std::string pattern = (std::filesystem::temp_directory_path() / "radio-altimeter-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    directory = pattern;
    std::filesystem::current_path(directory);
    std::filesystem::create_directory(folder);
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(directory, ignored);
    });
}

inline void write_fuzz_file(const char* path, const unsigned char* data, std::size_t size) {
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
    std::fclose(file);
}
