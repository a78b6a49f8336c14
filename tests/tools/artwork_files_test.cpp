// Every module file carries every bitmap its list declares, at the declared size and
// depth, in a form the host can decode; overlays keep pure black for transparency only.
#include "built_modules.h"
#include "dib.h"
#include "pe_bitmaps.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>

namespace {

void expect_declared_bitmaps(std::vector<EmbeddedBitmap> bitmaps, const BuiltModule& module) {
    std::map<std::uint32_t, std::vector<std::uint8_t>> carried;
    for (EmbeddedBitmap& bitmap : bitmaps) {
        EXPECT_TRUE(carried.emplace(bitmap.id, std::move(bitmap.dib)).second) << "bitmap carried twice: " << bitmap.id;
    }
    const std::vector<BitmapDeclaration> declared = read_bitmap_list(module.bitmap_list);
    EXPECT_EQ(carried.size(), declared.size());
    for (const BitmapDeclaration& bitmap : declared) {
        SCOPED_TRACE(testing::Message() << module.name << " bitmap 0x" << std::hex << bitmap.id << " (" << bitmap.what << ")");
        auto found = carried.find(bitmap.id);
        ASSERT_NE(found, carried.end());
        DecodedDib picture;
        ASSERT_TRUE(decode_dib(found->second, picture));
        EXPECT_EQ(picture.image.width, bitmap.width);
        EXPECT_EQ(picture.image.height, bitmap.height);
        EXPECT_EQ(picture.bits_per_pixel, bitmap.bits_per_pixel);
    }
}

class ModuleArtwork : public ::testing::TestWithParam<BuiltModule> {};

TEST_P(ModuleArtwork, CarriesEveryDeclaredBitmapAtItsSizeAndDepth) {
    const BuiltModule& module = GetParam();
    expect_declared_bitmaps(host::ModuleFile(module_file_path(module.name)).read_bitmaps(), module);
}

// The Windows build's .gau files carry the same as BITMAP resources. They are read from
// the folder named by GAUGE_WIN32_GAUGE_DIR (environment, else the build setting).
TEST_P(ModuleArtwork, WindowsFileCarriesEveryDeclaredBitmap) {
    const char* from_environment = std::getenv("GAUGE_WIN32_GAUGE_DIR");
    const std::string dir = from_environment != nullptr ? from_environment : GAUGE_WIN32_GAUGE_DIR;
    if (dir.empty()) GTEST_SKIP() << "no Windows build named (GAUGE_WIN32_GAUGE_DIR)";
    const std::string path = dir + "/" + GetParam().name + ".gau";
    if (!std::filesystem::exists(path)) GTEST_SKIP() << path << " is not built";
    expect_declared_bitmaps(read_pe_bitmaps(path), GetParam());
}

// Nothing is blank: every picture shows some visible paint (not all transparent black).
TEST_P(ModuleArtwork, EveryBitmapShowsSomething) {
    const BuiltModule& module = GetParam();
    host::ModuleFile file(module_file_path(module.name));
    for (const EmbeddedBitmap& bitmap : file.read_bitmaps()) {
        DecodedDib picture;
        ASSERT_TRUE(decode_dib(bitmap.dib, picture));
        std::size_t painted = 0;
        for (std::uint32_t rgb : picture.image.pixels) painted += rgb != 0;
        EXPECT_GT(painted, 0u) << module.name << " bitmap " << bitmap.id << " is all transparent";
    }
}

INSTANTIATE_TEST_SUITE_P(Built, ModuleArtwork, ::testing::ValuesIn(built_modules()),
                         [](const ::testing::TestParamInfo<BuiltModule>& info) { return std::string(info.param.name); });

// An 8-bit picture with more colours than a palette holds keeps its transparent black
// exact and turns no visible colour into it.
TEST(Palette, KeepsTransparentBlackApartFromDarkPaint) {
    RgbImage image{64, 64, {}};
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const std::uint32_t shade = static_cast<std::uint32_t>(x * 4 + 1) << 16 | static_cast<std::uint32_t>(y * 4 + 1) << 8 | 0x01;
            image.pixels.push_back(x < 8 ? 0 : shade);
        }
    }
    DecodedDib back;
    ASSERT_TRUE(decode_dib(encode_dib(image, 8), back));
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        EXPECT_EQ(back.image.pixels[i] == 0, image.pixels[i] == 0) << "pixel " << i;
    }
}

TEST(Palette, KeepsFlatColoursExact) {
    RgbImage image{300, 10, {}};
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 300; ++x) image.pixels.push_back(y < 5 ? 0x2E7BC8 : static_cast<std::uint32_t>(x) * 0x010101 + 0x000100);
    }
    DecodedDib back;
    ASSERT_TRUE(decode_dib(encode_dib(image, 8), back));
    EXPECT_EQ(back.image.pixels[0], 0x2E7BC8u);
    EXPECT_EQ(back.image.pixels[4 * 300 + 299], 0x2E7BC8u);
}

} // namespace
