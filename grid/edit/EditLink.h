#pragma once
// TEditLink: the base of custom editors for edCustom cells. A descendant
// makes and owns its editor control and answers the operations below; the
// grid calls them in a fixed order when an edit starts and ends. The editor
// sits in the cell (esInplace) or in a borderless popup window below the
// cell's top-left corner (esPopup).
#include "platform/gfx/GdiObjects.h"

#include <QRect>
#include <Qt>

#include <memory>
#include <string>

class QKeyEvent;
class QWidget;

namespace cb::grid {

class TExtStringGrid;

enum TEditStyle {
    esInplace,
    esPopup
};

class TEditLink {
public:
    virtual ~TEditLink();

    TEditStyle EditStyle = esInplace;
    int PopupWidth = 0;
    int PopupHeight = 0;
    // The popup takes the cell's width.
    bool AutoPopupWidth = false;
    // The editor keeps these keys instead of leaving the cell.
    bool WantKeyLeftRight = false, WantKeyUpDown = false, WantKeyHomeEnd = false;
    bool WantKeyPriorNext = false, WantKeyReturn = false, WantKeyEscape = false;
    int Tag = 0;

    // Set by the grid each time it shows the link's editor.
    TExtStringGrid* Grid() const { return FGrid; }
    int EditCol() const { return FCol; }
    int EditRow() const { return FRow; }
    // The popup window while an esPopup editor is shown (nullptr otherwise).
    QWidget* PopupWindow() const { return FPopup.get(); }

    // The operations a descendant answers.
    virtual QWidget* EditorControl() { return nullptr; }
    virtual void BuildEditor(QWidget* parent) { (void)parent; }
    virtual void ReleaseEditor() {}
    virtual void FocusEditor(bool editor);
    // Places the control at the rectangle less the grid's line width.
    virtual void PlaceEditor(const QRect& rect);
    virtual void SetEditorVisible(bool visible);
    virtual void ApplyEditorSettings() {}
    virtual void ApplyCellLook(cb::gfx::TColor color, const cb::gfx::TFont& font) { (void)color, (void)font; }
    virtual std::string ReadEditorValue() { return {}; }
    virtual void WriteEditorValue(const std::string& value) { (void)value; }

    // Writes text into the edited cell.
    void StoreEditorValue(const std::string& text);

    // Grid side: the edit starts on (col, row) at the cell rectangle (grid
    // client pixels) with the cell's look and edit text.
    void StartEdit(TExtStringGrid& grid, int col, int row, const QRect& cell, cb::gfx::TColor color,
                   const cb::gfx::TFont& font, const std::string& text);
    // Grid side: the edit ended; the control is hidden, a popup freed.
    void EndEdit();

private:
    TExtStringGrid* FGrid = nullptr;
    int FCol = -1, FRow = -1;
    std::unique_ptr<QWidget> FPopup;
};

}  // namespace cb::grid
