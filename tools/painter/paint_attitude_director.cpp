// The pictures of the Tavonne module.
#include "paint.h"

namespace artwork {

const ModulePainters& attitude_director_painters() {
    static const ModulePainters painters{"Tavonne", {}};
    return painters;
}

} // namespace artwork
