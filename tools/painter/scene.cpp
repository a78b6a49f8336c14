#include "scene.h"

#include "calibration.h"

#include <cmath>
#include <set>

namespace artwork {

namespace {

constexpr int MAX_ELEMENTS_PER_GAUGE = 512;

void collect(const ElementHeader* element, std::set<const ElementHeader*>& seen, GaugeRecords& gauge) {
    if (element == nullptr || !seen.insert(element).second || gauge.elements.size() >= MAX_ELEMENTS_PER_GAUGE) return;
    gauge.elements.push_back(element);
    if (element->next_elements == nullptr) return;
    for (ElementHeader* const* child = element->next_elements; *child != nullptr; ++child) collect(*child, seen, gauge);
}

int picture_count(const ElementHeader* element, bool version_610) {
    if (element->kind != ELEMENT_ICON) return 1;
    u32 count = version_610 ? reinterpret_cast<const IconElement610*>(element)->picture_count
                            : reinterpret_cast<const IconElement*>(element)->picture_count;
    return count == 0 ? 1 : static_cast<int>(std::min<u32>(count, 64));
}

double distance(const ElementHeader& needle, const NonlinearityEntry& entry) {
    return std::hypot(entry.x - needle.position_x, entry.y - needle.position_y);
}

} // namespace

double Calibration::angle_degrees(double value) const { return host::calibrated_angle(*needle, table, count, value); }

double Calibration::radius(double value) const {
    const bool ascending = last_value() >= first_value();
    auto before = [&](double a, double b) { return ascending ? a < b : a > b; };
    if (!before(table[0].value, value)) return distance(*needle, table[0]);
    for (u32 i = 1; i < count; ++i) {
        if (before(value, table[i].value)) {
            double span = table[i].value - table[i - 1].value;
            double t = span == 0 ? 1.0 : (value - table[i - 1].value) / span;
            return distance(*needle, table[i - 1]) * (1 - t) + distance(*needle, table[i]) * t;
        }
    }
    return distance(*needle, table[count - 1]);
}

Scene Scene::from_linkage(const LinkageRecord& linkage) {
    Scene scene;
    for (GaugeHeader* header : linkage.gauges) {
        if (header == nullptr) break;
        GaugeRecords gauge;
        gauge.version_610 = header->version == GAUGE_VERSION_610;
        gauge.name = header->name != nullptr ? header->name : "";
        gauge.root = header->root_slot != nullptr ? *header->root_slot : nullptr;
        std::set<const ElementHeader*> seen;
        collect(gauge.root, seen, gauge);
        scene.gauges_.push_back(std::move(gauge));
    }
    for (const GaugeRecords& gauge : scene.gauges_) {
        for (const ElementHeader* element : gauge.elements) {
            if (element->bitmap_id == BITMAP_NONE) continue;
            const int step = gauge.version_610 ? 3 : 1;
            for (int k = 0; k < picture_count(element, gauge.version_610); ++k) {
                scene.uses_[element->bitmap_id + static_cast<u32>(k * step)].push_back({&gauge, element, k});
            }
        }
    }
    return scene;
}

const std::vector<BitmapUse>& Scene::uses(u32 id) const {
    static const std::vector<BitmapUse> none;
    auto found = uses_.find(id);
    return found == uses_.end() ? none : found->second;
}

bool Scene::is_companion(u32 id) const {
    if (!uses(id).empty()) return false;
    for (const BitmapUse& use : uses(id - 1)) {
        if (use.element->kind == ELEMENT_MOVING || use.element->kind == ELEMENT_SPRITE) return true;
    }
    return false;
}

Calibration Scene::calibration_of(const BitmapUse& use) {
    const ElementHeader* e = use.element;
    if (e->kind != ELEMENT_NEEDLE) return {};
    if (use.gauge->version_610) {
        auto* needle = reinterpret_cast<const NeedleElement610*>(e);
        return {e, needle->calibration, needle->calibration_count};
    }
    auto* needle = reinterpret_cast<const NeedleElement*>(e);
    return {e, needle->calibration, needle->calibration_count};
}

std::vector<Calibration> Scene::dial_tables(u32 face_id) const {
    std::vector<Calibration> tables;
    for (const GaugeRecords& gauge : gauges_) {
        if (gauge.root == nullptr || gauge.root->bitmap_id != face_id) continue;
        for (const ElementHeader* element : gauge.elements) {
            Calibration c = calibration_of({&gauge, element, 0});
            if (c.empty()) continue;
            bool same = false;
            for (const Calibration& known : tables) {
                same = same || (known.count == c.count && known.needle->position_x == element->position_x &&
                                 known.needle->position_y == element->position_y &&
                                 known.table[0].x == c.table[0].x && known.table[0].y == c.table[0].y &&
                                 known.first_value() == c.first_value() && known.last_value() == c.last_value());
            }
            if (!same) tables.push_back(c);
        }
    }
    return tables;
}

} // namespace artwork
