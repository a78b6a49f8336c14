// The pictures of the Brevolin module.
#include "paint.h"

namespace artwork {

const ModulePainters& primary_flight_painters() {
    static const ModulePainters painters{"Brevolin", {}};
    return painters;
}

} // namespace artwork
