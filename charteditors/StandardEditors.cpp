#include "charteditors/StandardEditors.h"

#include "charteditors/series/SeriesEditors.h"

namespace cb::charteditors {

// Each folder that has editors the hosts find by name registers them in a
// function of its own, listed here.
void RegisterStandardEditors() {
    RegisterSeriesEditors();
}

}  // namespace cb::charteditors
