// What a module's own records say about each of its bitmaps: which element shows it,
// where, about which pivot, against which calibration table and over which face. Read
// in-process from the module's `Linkage`; no routine of the module is ever called.
#pragma once

#include "bitmap_list.h"
#include "elements.h"

#include <map>
#include <string>
#include <vector>

namespace artwork {

struct Point {
    double x = 0, y = 0;
};

struct GaugeRecords {
    std::string name;
    bool version_610 = false;
    const ElementHeader* root = nullptr;
    std::vector<const ElementHeader*> elements; // tree order, root first, each once
};

// One element that draws a bitmap.
struct BitmapUse {
    const GaugeRecords* gauge = nullptr;
    const ElementHeader* element = nullptr;
    int picture = 0; // icons: which picture of the element this bitmap is
};

// A needle's calibration table with the element it belongs to.
struct Calibration {
    const ElementHeader* needle = nullptr;
    const NonlinearityEntry* table = nullptr;
    u32 count = 0;

    bool empty() const { return table == nullptr || count == 0; }
    // Where a value lies on the face: the host's needle angle, and a radius interpolated
    // between the neighbouring table points.
    double angle_degrees(double value) const;
    double radius(double value) const;
    double first_value() const { return table[0].value; }
    double last_value() const { return table[count - 1].value; }
};

class Scene {
public:
    // Walks the records of the module linked into this program.
    static Scene from_linkage(const LinkageRecord& linkage);

    const std::vector<GaugeRecords>& gauges() const { return gauges_; }
    // Every element that draws `id` (icon pictures included); empty when none does.
    const std::vector<BitmapUse>& uses(u32 id) const;
    // True when `id` is the companion of a moving image or sprite (named by no element,
    // the element's bitmap id plus one).
    bool is_companion(u32 id) const;
    // The table of a needle element, empty when it has none.
    static Calibration calibration_of(const BitmapUse& use);
    // Needles with tables drawn over the face `face_id`, first of each distinct table.
    std::vector<Calibration> dial_tables(u32 face_id) const;

private:
    std::vector<GaugeRecords> gauges_;
    std::map<u32, std::vector<BitmapUse>> uses_;
};

} // namespace artwork
