// The pictures of the Ilvarra module.
#include "paint.h"

namespace artwork {

const ModulePainters& situation_indicator_painters() {
    static const ModulePainters painters{"Ilvarra", {}};
    return painters;
}

} // namespace artwork
