#include "charteditors/StandardEditors.h"

namespace cb::charteditors {

// Each folder that has editors the hosts find by name registers them in a
// function of its own, listed here.
void RegisterStandardEditors() {}

}  // namespace cb::charteditors
