#pragma once
// TExtRichEdit: the editor of rich-text cells (edRichEdit). It reads the
// cell's rich text into its document and writes it back as rich text; with
// SizeWhileTyping.Height the row grows with the text while the user types
// (never beyond the bottom of the grid, and not while it is being filled).
#include "grid/edit/CellEditor.h"

#include <QTextEdit>

#include <memory>

namespace cb::grid {

class TExtStringGrid;
class TGridEditPart;

class TExtRichEdit : public QTextEdit {
public:
    explicit TExtRichEdit(TExtStringGrid& grid);
    // The size the content last asked for (pixels).
    int ReqWidth() const { return FReqWidth; }
    int ReqHeight() const { return FReqHeight; }
    // While locked, the content does not resize the row.
    void LockSize() { FLocked = true; }
    void UnlockSize() { FLocked = false; }

private:
    void ContentResized(const QSizeF& size);
    TExtStringGrid& FGrid;
    int FReqWidth = 0;
    int FReqHeight = 0;
    bool FLocked = false;
};

std::unique_ptr<TCellEditor> MakeRichEditor(TGridEditPart& part);

}  // namespace cb::grid
