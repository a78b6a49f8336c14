// The pictures of the Zorvane module.
#include "paint.h"

namespace artwork {

const ModulePainters& radio_altimeter_painters() {
    static const ModulePainters painters{"Zorvane", {}};
    return painters;
}

} // namespace artwork
