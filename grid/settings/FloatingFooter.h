#pragma once
// The footer panel kept below the cells.
#include "grid/util/GridTypes.h"

#include "platform/rtl/Property.h"

#include <string>

namespace cb::grid {

using cb::rtl::TChangeEvent;

enum TFooterStyle {
    fsFixedLastRow,
    fsColumnPreview,
    fsCustomPreview
};

class TFloatingFooter {
public:
    // Called when visibility, style or height changed: the grid lays the
    // panel out again.
    TChangeEvent OnLayoutChange;
    // Called when only what the panel shows changed.
    TChangeEvent OnChange;
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    TFooterStyle FooterStyle() const { return FFooterStyle; }
    void SetFooterStyle(TFooterStyle value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    int Column() const { return FColumn; }
    void SetColumn(int value);
    const std::string& CustomTemplate() const { return FCustomTemplate; }
    void SetCustomTemplate(const std::string& value);
    int FooterHeight() const { return FFooterHeight; }
    // Kept equal to the grid's default row height; a visible panel follows.
    void SetFooterHeight(int value);
    // Height of the panel: the footer height - 1 while visible, else 0.
    int PanelHeight() const { return FVisible ? FFooterHeight - 1 : 0; }

private:
    bool FVisible = false;
    TFooterStyle FFooterStyle = fsFixedLastRow;
    TColor FColor = cb::gfx::clBtnFace;
    int FColumn = 0;
    std::string FCustomTemplate;
    int FFooterHeight = 21;
};

}  // namespace cb::grid
