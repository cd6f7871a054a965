#include "chart/component/ChartTitle.h"

#include "chart/canvas/Canvas3D.h"
#include "chart/core/PlotGeometry.h"
#include "chart/panel/CustomPlotPanel.h"
#include "platform/gfx/Canvas.h"

#include <algorithm>

namespace cb::chart {

TChartTitle::TChartTitle(TCustomPlotPanel* panel) : TPlotCustomShapePosition(panel) {
    SetTransparent(true);
    SetDefaultTransparent(true);
    WithoutChangeEvent(Font(), [this] { Font().SetColor(clBlue); });
}

TChartFootTitle::TChartFootTitle(TCustomPlotPanel* panel) : TChartTitle(panel) {
    SetOnTop(false);
    WithoutChangeEvent(Font(), [this] {
        Font().SetColor(clRed);
        Font().SetStyle(cb::gfx::fsItalic);
    });
}

void TChartTitle::Assign(const TChartTitle& s) {
    if (this == &s) return;
    FSettings = s.FSettings;
    TPlotCustomShapePosition::Assign(s);
}

bool TChartTitle::ContainsPoint(int x, int y) const {
    return Visible() && RectContainsPoint(Bounds(), x, y);
}

void TChartTitle::PaintTitle() {
    TCustomPlotPanel* panel = ParentPanel();
    if (!Visible() || FSettings.Text.empty() || !panel || !panel->Canvas()) return;
    TCanvas3D& c = *panel->Canvas();
    int fw = Pen().Visible() && Pen().Color() != clDefault ? Pen().Width() : 0;
    if (Bevel() != bcNone) fw = BevelWidth();
    const int lines = int(FSettings.Text.size());
    TRect& box = Bounds();
    const bool custom = CustomPosition();
    if (!custom) {
        box = panel->ChartRect();
        if (FOnTop) box.Top += fw;
    }
    c.AssignFont(Font());
    c.SetTextAlignment(cb::gfx::TA_LEFT);
    const int lineHeight = c.FontHeight();
    if (FOnTop || custom)
        box.Bottom = box.Top + lines * lineHeight;
    else
        box.Top = box.Bottom - lines * lineHeight;
    if (!custom) cb::gfx::InflateRect(box, fw, fw);
    const int w = c.TextWidth("W");
    if (FSettings.AdjustFrame) {
        int widest = 0;
        for (const std::string& line : FSettings.Text) widest = std::max(widest, c.TextWidth(line));
        const int width = w + fw + widest;
        if (FSettings.Alignment == taLeftJustify) {
            box.Right = box.Left + width;
        } else if (FSettings.Alignment == taRightJustify) {
            box.Left = box.Right - width;
        } else {
            if (custom) box.Right = box.Left + width;
            const int cx = (box.Left + box.Right) / 2;
            box.Left = cx - width / 2;
            box.Right = cx + width / 2;
        }
    }
    DrawInBounds();
    c.SetBackgroundMode(1);
    for (int i = 0; i < lines; ++i) {
        const std::string& line = FSettings.Text[std::size_t(i)];
        const int y = FOnTop ? box.Top + i * lineHeight + fw : box.Bottom - lineHeight - (i * lineHeight + fw);
        int x;
        if (FSettings.Alignment == taLeftJustify)
            x = box.Left + w / 2;
        else if (FSettings.Alignment == taRightJustify)
            x = box.Right - c.TextWidth(line) - w / 2;
        else
            x = (box.Left + box.Right) / 2 - c.TextWidth(line) / 2;
        c.OutputText(x, y, line);
    }
    if (!custom) {
        int gap = 5 + fw;
        if (!Transparent()) gap += Shadow().VertSize();
        TRect& chart = panel->ChartRect();
        if (FOnTop)
            chart.Top = box.Bottom + gap;
        else
            chart.Bottom = box.Bottom - gap - lines * lineHeight;
        panel->NormalizeChartRect();
    }
}

}  // namespace cb::chart
