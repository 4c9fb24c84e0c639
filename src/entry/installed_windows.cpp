#include "entry/installed_windows.h"

namespace slp {

void installComponentWindows(WindowRegistry& registry) {
    // Each window of the component registers its factory here as it is built; a window without a
    // factory answers its opening method with "not implemented", naming the window.
    (void)registry;
}

}  // namespace slp
