#include "charteditors/style/StyleEditors.h"

#include "charteditors/common/EditorRegistry.h"
#include "charteditors/common/PenDialog.h"
#include "charteditors/style/BrushDialog.h"
#include "charteditors/style/FontEditor.h"
#include "charteditors/style/GradientEditor.h"
#include "charteditors/style/ShadowEditor.h"
#include "charteditors/style/ShapeEditor.h"

namespace cb::charteditors {

void RegisterStyleEditors() {
    RegisterEditorClass<TPenDialog>("TPenDialog");
    RegisterEditorClass<TBrushDialog>("TBrushDialog");
    RegisterEditorClass<TPlotGradientEditor>("TPlotGradientEditor");
    RegisterEditorClass<TPlotShadowEditor>("TPlotShadowEditor");
    RegisterEditorClass<TPlotFontEditor>("TPlotFontEditor");
    RegisterEditorClass<TFormPlotShape>("TFormPlotShape");
}

}  // namespace cb::charteditors
