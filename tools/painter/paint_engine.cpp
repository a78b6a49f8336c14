// The pictures of the engine module.
#include "paint.h"

namespace artwork {

const ModulePainters& engine_painters() {
    static const ModulePainters painters{"engine", {}};
    return painters;
}

} // namespace artwork
