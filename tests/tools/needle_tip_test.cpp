// Needle pictures turned by the host's rule: a needle with a table points along +x from
// its pivot when unturned, so at each table value its tip must lie towards the table
// point (on it, where the table point lies at the needle's length); one without a table
// points up.
#include "built_modules.h"
#include "calibration.h"
#include "dib.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <numbers>
#include <set>

std::vector<NeedleRecord> needles_of(const host::ModuleFile& file) {
    std::vector<NeedleRecord> needles;
    const auto* linkage = static_cast<const LinkageRecord*>(file.symbol("Linkage"));
    if (linkage == nullptr) return needles;
    std::set<const ElementHeader*> seen;
    for (const GaugeHeader* gauge : linkage->gauges) {
        if (gauge == nullptr) break;
        const bool version_610 = gauge->version == GAUGE_VERSION_610;
        std::vector<const ElementHeader*> pending{*gauge->root_slot};
        while (!pending.empty()) {
            const ElementHeader* e = pending.back();
            pending.pop_back();
            if (e == nullptr || !seen.insert(e).second) continue;
            if (e->next_elements != nullptr) {
                for (ElementHeader* const* child = e->next_elements; *child != nullptr; ++child) pending.push_back(*child);
            }
            if (e->kind != ELEMENT_NEEDLE) continue;
            if (version_610) {
                auto* needle = reinterpret_cast<const NeedleElement610*>(e);
                needles.push_back({gauge->name, e, needle->calibration, needle->calibration_count});
            } else {
                auto* needle = reinterpret_cast<const NeedleElement*>(e);
                needles.push_back({gauge->name, e, needle->calibration, needle->calibration_count});
            }
        }
    }
    return needles;
}

namespace {

constexpr double DEGREES = std::numbers::pi / 180.0;

struct Vector {
    double x, y;
};

// The middle of the painted pixels farthest from the pivot, relative to the pivot, in
// bitmap pixels (pixel centres at +0.5).
Vector tip_of(const RgbImage& image, const ElementHeader& needle) {
    double farthest = 0;
    auto offset = [&](int x, int y) { return Vector{x + 0.5 - needle.offset_x, y + 0.5 - needle.offset_y}; };
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (image.pixels[static_cast<std::size_t>(y) * image.width + x] == 0) continue;
            const Vector v = offset(x, y);
            farthest = std::max(farthest, std::hypot(v.x, v.y));
        }
    }
    Vector sum{0, 0};
    int count = 0;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (image.pixels[static_cast<std::size_t>(y) * image.width + x] == 0) continue;
            const Vector v = offset(x, y);
            if (std::hypot(v.x, v.y) < farthest - 2) continue;
            sum = {sum.x + v.x, sum.y + v.y};
            ++count;
        }
    }
    return count == 0 ? Vector{0, 0} : Vector{sum.x / count, sum.y / count};
}

// Where the tip lands on the face with the bitmap turned `degrees` clockwise.
Vector tip_on_face(const Vector& tip, const ElementHeader& needle, double degrees) {
    const double a = degrees * DEGREES;
    return {needle.position_x + tip.x * std::cos(a) - tip.y * std::sin(a),
            needle.position_y + tip.x * std::sin(a) + tip.y * std::cos(a)};
}

double heading_difference(double a, double b) {
    double d = std::fmod(a - b, 360.0);
    if (d > 180) d -= 360;
    if (d < -180) d += 360;
    return std::abs(d);
}

struct LoadedNeedles {
    std::unique_ptr<host::ModuleFile> file;
    std::map<std::uint32_t, RgbImage> pictures;
    std::vector<NeedleRecord> needles;

    explicit LoadedNeedles(const std::string& module) : file(std::make_unique<host::ModuleFile>(module_file_path(module))) {
        for (const EmbeddedBitmap& bitmap : file->read_bitmaps()) {
            DecodedDib decoded;
            if (decode_dib(bitmap.dib, decoded)) pictures[bitmap.id] = decoded.image;
        }
        needles = needles_of(*file);
    }
};

class NeedlePictures : public ::testing::TestWithParam<BuiltModule> {};

TEST_P(NeedlePictures, PointWhereTheHostTurnsThem) {
    LoadedNeedles loaded(GetParam().name);
    for (const NeedleRecord& needle : loaded.needles) {
        SCOPED_TRACE(testing::Message() << needle.gauge << " needle bitmap 0x" << std::hex << needle.element->bitmap_id);
        auto picture = loaded.pictures.find(needle.element->bitmap_id);
        ASSERT_NE(picture, loaded.pictures.end());
        const Vector tip = tip_of(picture->second, *needle.element);
        ASSERT_GT(std::hypot(tip.x, tip.y), 3.0) << "no tip away from the pivot";
        const double tip_heading = std::atan2(tip.y, tip.x) / DEGREES;
        if (needle.table == nullptr || needle.count == 0) {
            EXPECT_LT(heading_difference(tip_heading, -90), 3.0) << "a needle without a table points up";
            continue;
        }
        EXPECT_LT(heading_difference(tip_heading, 0), 3.0) << "a needle with a table points along +x";
        for (u32 i = 0; i < needle.count; ++i) {
            const NonlinearityEntry& entry = needle.table[i];
            const double turned = host::calibrated_angle(*needle.element, needle.table, needle.count, entry.value);
            const Vector landed = tip_on_face(tip, *needle.element, turned);
            const double towards_tip = std::atan2(landed.y - needle.element->position_y, landed.x - needle.element->position_x);
            const double towards_point = std::atan2(entry.y - needle.element->position_y, entry.x - needle.element->position_x);
            EXPECT_LT(heading_difference(towards_tip / DEGREES, towards_point / DEGREES), 3.0) << "at value " << entry.value;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Built, NeedlePictures, ::testing::ValuesIn(built_modules()),
                         [](const ::testing::TestParamInfo<BuiltModule>& info) { return std::string(info.param.name); });

// The engine dials' needles are as long as their scales' radius: at every table value the
// tip sits on the table point.
TEST(EngineNeedleTips, LandOnTheTablePoints) {
    bool built = false;
    for (const BuiltModule& module : built_modules()) built = built || std::string(module.name) == "engine";
    if (!built) GTEST_SKIP() << "the engine module is not part of this build";
    LoadedNeedles loaded("engine");
    int checked = 0;
    for (const std::string gauge : {"ITT1_Indicator", "TRQ1_Indicator", "RPM1_Indicator", "FF1_Indicator", "FT1_Indicator"}) {
        for (const NeedleRecord& needle : loaded.needles) {
            if (needle.gauge != gauge) continue;
            const Vector tip = tip_of(loaded.pictures.at(needle.element->bitmap_id), *needle.element);
            for (u32 i = 0; i < needle.count; ++i) {
                const NonlinearityEntry& entry = needle.table[i];
                const Vector landed =
                    tip_on_face(tip, *needle.element, host::calibrated_angle(*needle.element, needle.table, needle.count, entry.value));
                EXPECT_LE(std::hypot(landed.x - (entry.x + 0.5), landed.y - (entry.y + 0.5)), 2.0)
                    << gauge << " at value " << entry.value << ": tip at (" << landed.x << ", " << landed.y << "), point ("
                    << entry.x << ", " << entry.y << ")";
                ++checked;
            }
        }
    }
    EXPECT_EQ(checked, 13 + 13 + 13 + 11 + 3);
}

} // namespace
