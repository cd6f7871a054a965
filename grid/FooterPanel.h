#pragma once
// TFooterPanel: the floating footer below the grid's cells. It shows the
// grid's last row as fixed cells, one column of the current row, or a
// template filled from the current row, by FloatingFooter.FooterStyle.
#include "platform/gfx/Canvas.h"

#include <QWidget>

#include <string>

namespace cb::grid {

class TExtStringGrid;

class TFooterPanel : public QWidget {
public:
    // A child of the grid; the grid places it below its cells.
    explicit TFooterPanel(TExtStringGrid* grid);

    TExtStringGrid* Grid() const { return FGrid; }
    // "<#n>" becomes the text of column n in the current row; a placeholder
    // that is not a whole number vanishes; an unclosed one stays as it is.
    std::string ExpandTemplate(const std::string& text) const;
    // Width the grid's columns take: fixed columns plus LeftCol to the last.
    int FooterWidth() const;
    // Draws the panel on a canvas of its size.
    void Paint(cb::gfx::TCanvas& canvas);
    QImage RenderToImage();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void PaintFills(cb::gfx::TCanvas& canvas, int w);
    void PaintFrame(cb::gfx::TCanvas& canvas, int w);
    void PaintFixedLastRow(cb::gfx::TCanvas& canvas);
    void PaintColumnPreview(cb::gfx::TCanvas& canvas);
    void PaintCustomPreview(cb::gfx::TCanvas& canvas);

    TExtStringGrid* FGrid;  // the owner
};

}  // namespace cb::grid
