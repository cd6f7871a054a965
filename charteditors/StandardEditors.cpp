#include "charteditors/StandardEditors.h"

#include "charteditors/dialog/DialogEditors.h"
#include "charteditors/gallery/SeriesGallery.h"
#include "charteditors/series/SeriesEditors.h"
#include "charteditors/style/StyleEditors.h"

namespace cb::charteditors {

// Each folder that has editors the hosts find by name registers them in a
// function of its own, listed here.
void RegisterStandardEditors() {
    RegisterStyleEditors();
    RegisterSeriesEditors();
    RegisterDialogEditors();
    // The series list box's add and change-type hooks (the gallery's static
    // installer may be left out of a program that never names the gallery).
    InstallGalleryHooks();
}

}  // namespace cb::charteditors
