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
    Line(s, "/Creator (DezAvoze Pro v7)");
    Line(s, "/Producer (DezAvoze Pro v7)");
    std::string date = "/CreationDate (D:";
    date += QDateTime::currentDateTime().toString("yyyyMMddHHmmss").toStdString();
    date += ")";
    Line(s, date);
    Line(s, "/ModDate ()");
    Line(s, "/Keywords ()");
    Line(s, "/Title (TChart Export)");
    Line(s, ">>");
    end();
    // Content.
    begin();
    const std::string_view content = FChartObject.Content.View();
    Line(s, std::string("<< /Length ") + std::to_string(content.size()) + " >>");
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
        Line(s, std::string("/Name /F") + std::to_string(n));
        Line(s, std::string("/FirstChar ") + std::to_string(e.FirstChar));
        Line(s, std::string("/LastChar ") + std::to_string(e.LastChar));
        Line(s, "/Encoding /WinAnsiEncoding");
        Line(s, std::string("/FontDescriptor ") + std::to_string(FObjectCounter + 1) + " 0 R");
        Line(s, std::string("/Widths ") + std::to_string(FObjectCounter + 2) + " 0 R");
        Line(s, ">>");
        end();
        begin();
        Line(s, "<< /Type /FontDescriptor");
        Line(s, "/FontName /" + e.PDFFontName);
        Line(s, "/Flags 32");
        Line(s, std::string("/FontBBox [") + std::to_string(e.BoxLeft) + std::string(" ") +
                    std::to_string(e.BoxBottom) + " " + std::to_string(e.BoxRight) + std::string(" ") +
                    std::to_string(e.BoxTop) + "]");
        Line(s, std::string("/CapHeight ") + std::to_string(e.CapHeight));
        Line(s, std::string("/Ascent ") + std::to_string(e.Ascent));
        Line(s, std::string("/Descent ") + std::to_string(e.Descent));
        Line(s, std::string("/MaxWidth ") + std::to_string(e.MaxWidth));
        Line(s, std::string("/AvgWidth ") + std::to_string(e.AvgWidth));
        Line(s, std::string("/ItalicAngle ") + std::to_string(e.ItalicAngle));
        Line(s, "/StemV 0");
        Line(s, ">>");
        end();
        begin();
        std::string w = "[";
        w += CRLF;
        for (int c = e.FirstChar; c <= e.LastChar; ++c) {
            w += std::to_string(e.Widths[std::size_t(c & 255)]);
            w += ' ';
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
        Line(s, std::string("/F") + std::to_string(n) + std::string(" ") + std::to_string(fonts.Item(n).ObjectNumber) +
                    " 0 R");
    Line(s, ">>");
    Line(s, ">>");
    end();
    // Page tree and page.
    begin();
    FPagesObject = FObjectCounter;
    Line(s, "<< /Type /Pages");
    Line(s, std::string("/Kids [") + std::to_string(FObjectCounter + 1) + " 0 R]");
    Line(s, "/Count 1");
    Line(s, ">>");
    end();
    begin();
    Line(s, "<< /Type /Page");
    Line(s, std::string("/Parent ") + std::to_string(FPagesObject) + " 0 R");
    Line(s, std::string("/MediaBox [ 0 0 ") + std::to_string(PageWidth) + std::string(" ") +
                std::to_string(PageHeight) + " ]");
    Line(s, "/Contents 2 0 R");
    Line(s, std::string("/Resources ") + std::to_string(FResourcesObject) + " 0 R");
    Line(s, ">>");
    end();
    begin();
    FCatalogObject = FObjectCounter;
    Line(s, "<< /Type /Catalog");
    Line(s, std::string("/Pages ") + std::to_string(FPagesObject) + " 0 R");
    Line(s, ">>");
    end();
    // Cross-reference table and trailer.
    ++FObjectCounter;
    const std::int64_t xref = s.Position() - base;
    Line(s, "xref");
    Line(s, std::string("0 ") + std::to_string(FObjectCounter));
    Line(s, "0000000000 65535 f");
    for (std::int64_t off : FOffsets) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%010lld 00000 n", static_cast<long long>(off < 0 ? 0 : off));
        Line(s, buf);
    }
    Line(s, "trailer");
    Line(s, std::string("<< /Size ") + std::to_string(FObjectCounter));
    Line(s, std::string("/Root ") + std::to_string(FCatalogObject) + " 0 R");
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
