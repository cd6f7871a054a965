#include "chartexport/pdf/PDFExportFormat.h"

#include "chart/panel/CustomPlotPanel.h"
#include "chartexport/pdf/PDFCanvas.h"
#include "platform/rtl/ScopeGuard.h"

#include <QDateTime>

#include <cstdio>

namespace cb::chartexport {

namespace {
constexpr const char* CRLF = "\r\n";
}

void TPlotPDFPage::Line(cb::rtl::TStream& stream, const std::string& s) {
    stream.WriteBuffer(s);
    stream.WriteBuffer(CRLF, 2);
}

void TPlotPDFPage::BeginObject(cb::rtl::TStream& stream) {
    ++FObjectCounter;
    FOffsets.push_back(stream.Position());
    Line(stream, std::to_string(FObjectCounter) + " 0 obj");
}

void TPlotPDFPage::SaveToStream(cb::rtl::TStream& s) {
    const std::int64_t base = s.Position();
    auto begin = [&] {
        ++FObjectCounter;
        FOffsets.push_back(s.Position() - base);
        Line(s, std::to_string(FObjectCounter) + " 0 obj");
    };
    auto end = [&] { Line(s, "endobj"); };
    Line(s, "%PDF-1.4");
    // Document information.
    begin();
    Line(s, "<<");
    Line(s, "/Creator (Cube Browser)");
    Line(s, "/Producer (Cube Browser)");
    Line(s, "/CreationDate (D:" + QDateTime::currentDateTime().toString("yyyyMMddHHmmss").toStdString() + ")");
    Line(s, "/ModDate ()");
    Line(s, "/Keywords ()");
    Line(s, "/Title (TChart Export)");
    Line(s, ">>");
    end();
    // Content.
    begin();
    const std::string_view content = FChartObject.Content.View();
    Line(s, "<< /Length " + std::to_string(content.size()) + " >>");
    Line(s, "stream");
    s.WriteBuffer(content);
    Line(s, "endstream");
    end();
    // Fonts: font, descriptor, widths.
    TPlotPDFFontList& fonts = FChartObject.Fonts;
    for (int n = 0; n < fonts.Count(); ++n) {
        TPlotPDFFontListEntry& e = fonts.Item(n);
        begin();
        e.ObjectNumber = FObjectCounter;
        Line(s, "<< /Type /Font");
        Line(s, "/Subtype /TrueType");
        Line(s, "/BaseFont /" + e.PDFFontName);
        Line(s, "/Name /F" + std::to_string(n));
        Line(s, "/FirstChar " + std::to_string(e.FirstChar));
        Line(s, "/LastChar " + std::to_string(e.LastChar));
        Line(s, "/Encoding /WinAnsiEncoding");
        Line(s, "/FontDescriptor " + std::to_string(FObjectCounter + 1) + " 0 R");
        Line(s, "/Widths " + std::to_string(FObjectCounter + 2) + " 0 R");
        Line(s, ">>");
        end();
        begin();
        Line(s, "<< /Type /FontDescriptor");
        Line(s, "/FontName /" + e.PDFFontName);
        Line(s, "/Flags 32");
        Line(s, "/FontBBox [" + std::to_string(e.BoxLeft) + " " + std::to_string(e.BoxBottom) + " " +
                    std::to_string(e.BoxRight) + " " + std::to_string(e.BoxTop) + "]");
        Line(s, "/CapHeight " + std::to_string(e.CapHeight));
        Line(s, "/Ascent " + std::to_string(e.Ascent));
        Line(s, "/Descent " + std::to_string(e.Descent));
        Line(s, "/MaxWidth " + std::to_string(e.MaxWidth));
        Line(s, "/AvgWidth " + std::to_string(e.AvgWidth));
        Line(s, "/ItalicAngle " + std::to_string(e.ItalicAngle));
        Line(s, "/StemV 0");
        Line(s, ">>");
        end();
        begin();
        std::string w = "[" + std::string(CRLF);
        for (int c = e.FirstChar; c <= e.LastChar; ++c) {
            w += std::to_string(e.Widths[std::size_t(c & 255)]) + " ";
            if (c % 15 == 14) w += CRLF;
        }
        w += CRLF;
        s.WriteBuffer(w);
        Line(s, "]");
        end();
    }
    // Resources.
    begin();
    FResourcesObject = FObjectCounter;
    Line(s, "<< /ProcSet [/PDF /Text /ImageC]");
    Line(s, "/Font << ");
    for (int n = 0; n < fonts.Count(); ++n)
        Line(s, "/F" + std::to_string(n) + " " + std::to_string(fonts.Item(n).ObjectNumber) + " 0 R");
    Line(s, ">>");
    Line(s, ">>");
    end();
    // Page tree and page.
    begin();
    FPagesObject = FObjectCounter;
    Line(s, "<< /Type /Pages");
    Line(s, "/Kids [" + std::to_string(FObjectCounter + 1) + " 0 R]");
    Line(s, "/Count 1");
    Line(s, ">>");
    end();
    begin();
    Line(s, "<< /Type /Page");
    Line(s, "/Parent " + std::to_string(FPagesObject) + " 0 R");
    Line(s, "/MediaBox [ 0 0 " + std::to_string(PageWidth) + " " + std::to_string(PageHeight) + " ]");
    Line(s, "/Contents 2 0 R");
    Line(s, "/Resources " + std::to_string(FResourcesObject) + " 0 R");
    Line(s, ">>");
    end();
    begin();
    FCatalogObject = FObjectCounter;
    Line(s, "<< /Type /Catalog");
    Line(s, "/Pages " + std::to_string(FPagesObject) + " 0 R");
    Line(s, ">>");
    end();
    // Cross-reference table and trailer.
    ++FObjectCounter;
    const std::int64_t xref = s.Position() - base;
    Line(s, "xref");
    Line(s, "0 " + std::to_string(FObjectCounter));
    Line(s, "0000000000 65535 f");
    for (std::int64_t off : FOffsets) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%010lld 00000 n", static_cast<long long>(off < 0 ? 0 : off));
        Line(s, buf);
    }
    Line(s, "trailer");
    Line(s, "<< /Size " + std::to_string(FObjectCounter));
    Line(s, "/Root " + std::to_string(FCatalogObject) + " 0 R");
    Line(s, "/Info 1 0 R");
    Line(s, ">>");
    Line(s, "startxref");
    Line(s, std::to_string(xref));
    Line(s, "%%EOF");
}

void TPDFExportFormat::SaveToStream(cb::rtl::TStream& stream) {
    CheckPanel();
    CheckSize();
    TPlotPDFPage page;
    page.PageWidth = Width;
    page.PageHeight = Height;
    cb::chart::TCustomPlotPanel& panel = *Panel;
    {
        const bool autoRepaint = panel.AutoRepaint();
        panel.SetAutoRepaint(false);
        std::unique_ptr<cb::chart::TCanvas3D> old = panel.TakeCanvas();
        auto pdf = std::make_unique<TPDFCanvas>(page.ChartObject());
        TPDFCanvas* canvas = pdf.get();
        if (old) pdf->AssignSettings(*old);
        panel.ReplaceCanvas(std::move(pdf));
        auto restore = cb::rtl::OnScopeExit([&] {
            // The PDF canvas goes first, so the panel's own canvas comes back
            // with its settings untouched.
            panel.TakeCanvas();
            panel.ReplaceCanvas(std::move(old));
            panel.SetAutoRepaint(autoRepaint);
        });
        panel.DrawOnCanvas(&canvas->StateCanvas(), {0, 0, Width, Height});
    }
    page.SaveToStream(stream);
}

void SaveChartToPDFFile(cb::chart::TCustomPlotPanel& chart, const std::string& fileName, int width, int height) {
    TPDFExportFormat format;
    format.Panel = &chart;
    format.Width = width;
    format.Height = height;
    format.SaveToFile(fileName);
}

}  // namespace cb::chartexport
