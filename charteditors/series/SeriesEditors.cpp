#include "charteditors/series/SeriesEditors.h"

#include "charteditors/common/EditorRegistry.h"
#include "charteditors/series/BarSeriesEditor.h"
#include "charteditors/series/CustomSeriesEditor.h"
#include "charteditors/series/PieSeriesEditor.h"
#include "charteditors/series/SeriesPointerEditor.h"

namespace cb::charteditors {

void RegisterSeriesEditors() {
    RegisterEditorClass<TSeriesPointerEditor>("TSeriesPointerEditor");
    RegisterEditorClass<TCustomSeriesEditor>("TCustomSeriesEditor");
    RegisterEditorClass<TStackBarSeriesEditor>("TStackBarSeriesEditor");
    RegisterEditorClass<TBarSeriesEditor>("TBarSeriesEditor");
    RegisterEditorClass<TCircledSeriesEditor>("TCircledSeriesEditor");
    RegisterEditorClass<TPieSeriesEditor>("TPieSeriesEditor");
}

}  // namespace cb::charteditors
