#pragma once
// The up and down arrow glyphs (24 x 14) of the move-up and move-down
// buttons of the editors.
class QPixmap;

namespace cb::charteditors {

void LoadArrowBitmaps(QPixmap& up, QPixmap& down);

}  // namespace cb::charteditors
