#include "grid/FooterPanel.h"

#include "grid/ExtStringGridPrivate.h"
#include "grid/util/TextUtils.h"

#include "platform/rtl/ScopeGuard.h"

#include <QImage>
#include <QPainter>

namespace cb::grid {

using namespace cb::gfx;

TFooterPanel::TFooterPanel(TExtStringGrid* grid) : QWidget(grid), FGrid(grid) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(0, 0);
    hide();
}

std::string TFooterPanel::ExpandTemplate(const std::string& text) const {
    std::string out;
    std::string rest = text;
    size_t p;
    while ((p = rest.find("<#")) != std::string::npos) {
        size_t close = rest.find('>', p);
        if (close == std::string::npos) break;
        out += rest.substr(0, p);
        int n = 0;
        if (ReadCleanInt(std::string_view(rest).substr(p + 2, close - p - 2), n))
            out += FGrid->GetCellText(n, FGrid->Row());
        rest.erase(0, close + 1);
    }
    return out + rest;
}

int TFooterPanel::FooterWidth() const {
    int w = 0;
    const int fc = std::min(FGrid->FixedCols(), FGrid->ColCount());
    for (int c = 0; c < fc; ++c) w += FGrid->ColWidths(c);
    for (int c = std::max(FGrid->LeftCol(), fc); c < FGrid->ColCount(); ++c) w += FGrid->ColWidths(c);
    return w;
}

void TFooterPanel::paintEvent(QPaintEvent*) {
    if (!FGrid->RepaintAllowed()) return;
    QPainter painter(this);
    TCanvas canvas(&painter);
    Paint(canvas);
}

QImage TFooterPanel::RenderToImage() {
    QImage image(size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    if (image.isNull()) return image;
    QPainter painter(&image);
    TCanvas canvas(&painter);
    Paint(canvas);
    return image;
}

void TFooterPanel::Paint(TCanvas& canvas) {
    switch (FGrid->FloatingFooter.FooterStyle()) {
    case fsFixedLastRow:
        PaintFixedLastRow(canvas);
        break;
    case fsColumnPreview:
        PaintColumnPreview(canvas);
        break;
    case fsCustomPreview:
        PaintCustomPreview(canvas);
        break;
    }
}

void TFooterPanel::PaintFills(TCanvas& canvas, int w) {
    canvas.Pen().SetStyle(psSolid);
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(FGrid->FloatingFooter.Color());
    canvas.FillRect({0, 0, w, height()});
    canvas.Brush().SetColor(FGrid->Color());
    canvas.FillRect({w, 0, width(), height()});
}

void TFooterPanel::PaintFrame(TCanvas& canvas, int w) {
    const int h = height();
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetColor(clGray);
    canvas.MoveTo(0, h - 1);
    canvas.LineTo(w - 1, h - 1);
    canvas.LineTo(w - 1, -1);
    canvas.Pen().SetColor(clWhite);
    canvas.MoveTo(0, h - 1);
    canvas.LineTo(0, 0);
    canvas.LineTo(w - 1, 0);
}

void TFooterPanel::PaintFixedLastRow(TCanvas& canvas) {
    const int w = FooterWidth();
    PaintFills(canvas, w);
    const int h = height();
    const int fc = std::min(FGrid->FixedCols(), FGrid->ColCount());
    const int row = FGrid->RowCount() - 1;
    const TGridOptions o = FGrid->Options();
    const bool soft = FGrid->Look() == glSoft && !FGrid->Flat();

    std::vector<int> cols;
    for (int c = 0; c < fc; ++c) cols.push_back(c);
    for (int c = std::max(FGrid->LeftCol(), fc); c < FGrid->ColCount(); ++c) cols.push_back(c);

    int x = 0;
    for (int c : cols) {
        const int right = x + FGrid->ColWidths(c);
        if (soft) {
            canvas.Pen().SetColor(clWhite);
            if (o & goFixedVertLine) {
                canvas.MoveTo(x, h);
                canvas.LineTo(x, 0);
            }
            if (o & goFixedHorzLine) {
                canvas.MoveTo(x, 0);
                canvas.LineTo(right, 0);
            }
        }
        if (o & goFixedVertLine) {
            canvas.Pen().SetColor(clGray);
            canvas.MoveTo(right - 1, 0);
            canvas.LineTo(right - 1, h);
        }
        x = right;
        if (x >= width()) break;
    }

    if (row < 0) return;
    x = 0;
    for (int c : cols) {
        const int cw = FGrid->ColWidths(c);
        TRect r{x, 0, x + cw - 1, h};
        if (c >= fc) {
            r.Left += 1;
            TColor own = FGrid->GetCellBrushColor(FGrid->RealColIndex(c), row);
            if (own != clNone) {
                canvas.Brush().SetColor(own);
                canvas.Pen().SetColor(own);
                canvas.FillRect(r);
            }
        }
        FGrid->DrawCellContent(canvas, c, row, r, gdFixed);
        x += cw;
        if (x >= width()) break;
    }
}

void TFooterPanel::PaintColumnPreview(TCanvas& canvas) {
    const int w = FooterWidth();
    PaintFills(canvas, w);
    PaintFrame(canvas, w);
    const int col = FGrid->FloatingFooter.Column();
    if (col < 0 || col >= FGrid->ColCount() || FGrid->Row() < 0 || FGrid->Row() >= FGrid->RowCount()) return;
    // The preview draws the cell without the selection's text colour.
    const TColor keep = FGrid->FD->FSelectionTextColor;
    FGrid->FD->FSelectionTextColor = 0;
    auto restore = cb::rtl::OnScopeExit([&] { FGrid->FD->FSelectionTextColor = keep; });
    FGrid->DrawCellContent(canvas, FGrid->DisplColIndex(col), FGrid->Row(), {0, 0, w, height()}, 0);
}

void TFooterPanel::PaintCustomPreview(TCanvas& canvas) {
    const int w = FooterWidth();
    PaintFills(canvas, w);
    PaintFrame(canvas, w);
    std::string text = ExpandTemplate(FGrid->FloatingFooter.CustomTemplate());
    canvas.Font().Assign(FGrid->Font());
    canvas.Brush().SetColor(FGrid->FloatingFooter.Color());
    canvas.SetBkMode(TRANSPARENT);
    TRect r{0, 2, w, height() + 2};
    FGrid->DrawHTMLCellText(canvas, FGrid->Col(), FGrid->Row(), text, r, taLeftJustify, vtaTop, FGrid->URLColor());
}

}  // namespace cb::grid
