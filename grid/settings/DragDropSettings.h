#pragma once
// Which drags the grid starts and which drops of other programs (text,
// rich text, files, grid columns) it accepts. Each grid decides for itself.
namespace cb::grid {

struct TDragDropSettings {
    bool OleDropTarget = false;  // drops of text, rich text, files and columns
    bool OleDropSource = false;  // a pressed, selected cell can be dragged
    bool OleAcceptText = true;
    bool OleAcceptFiles = true;
    bool OleDropRTF = false;  // rich text is offered and accepted
    bool OleEntireRows = false;
    bool OleInsertRows = false;
    bool OleRemoveRows = false;
    bool OleCopyAlways = false;
    bool OleColumnDragDrop = false;
};

}  // namespace cb::grid
