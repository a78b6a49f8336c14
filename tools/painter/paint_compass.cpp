// The pictures of the Quistral module.
#include "paint.h"

namespace artwork {

const ModulePainters& compass_painters() {
    static const ModulePainters painters{"Quistral", {}};
    return painters;
}

} // namespace artwork
