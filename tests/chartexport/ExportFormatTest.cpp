// The list of formats, filter indices, sizes and saving through a
// temporary file.
#include "ChartExportTestSupport.h"

#include "chartexport/core/PlotExportFormat.h"
#include "chartexport/raster/JPEGExportFormat.h"
#include "chartexport/raster/PNGExportFormat.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/common/TestSupport.h"

using namespace cb::chartexport;
using namespace cetest;

namespace {

// Notes the size it was asked for; writes a little and fails on demand.
class ProbeFormat : public TPlotExportFormat {
public:
    std::string Description() const override { return "as &Probe"; }
    std::string FileExtension() const override { return "prb"; }
    std::string FileFilter() const override { return "Probe (*.prb)|*.prb"; }
    void SaveToStream(cb::rtl::TStream& stream) override {
        seenWidth = Width;
        seenHeight = Height;
        stream.WriteBuffer("partial");
        if (fail) throw EExportError("encoder failed");
    }
    void DoCopyToClipboard() override { copied = true; }
    int seenWidth = -1, seenHeight = -1;
    bool fail = false, copied = false;
};

TEST(ExportFormatList, RegisterAndUnregisterKeepOrderAndDuplicates) {
    const std::size_t before = ExportFormatList().size();
    const auto probe = ExportFormatClass<ProbeFormat>();
    RegisterExportFormat(probe);
    RegisterExportFormat(probe);
    ASSERT_EQ(ExportFormatList().size(), before + 2);
    UnregisterExportFormat(probe);
    ASSERT_EQ(ExportFormatList().size(), before + 1);
    EXPECT_EQ(ExportFormatList().back(), probe);
    UnregisterExportFormat(probe);
    UnregisterExportFormat(probe);  // no longer listed: nothing happens
    EXPECT_EQ(ExportFormatList().size(), before);
}

TEST(ExportFormatList, StandardFormatsInMenuOrderWithFilterIndices) {
    RegisterChartExportFormats();
    std::vector<std::string> names;
    std::vector<int> indices;
    int counter = 0;
    for (auto cls : ExportFormatList()) {
        auto f = cls();
        f->AssignFilterIndex(counter);
        names.push_back(f->Description());
        indices.push_back(f->FilterIndex());
        EXPECT_TRUE(f->OwnsFilterIndex(f->FilterIndex()));
    }
    UnregisterChartExportFormats();
    EXPECT_EQ(names, (std::vector<std::string>{"as &Bitmap", "as &Metafile", "as &VML (HTM)", "as &GIF", "as &PNG",
                                               "as &JPEG", "as &PDF"}));
    // The metafile takes two entries (EMF and WMF).
    EXPECT_EQ(indices, (std::vector<int>{1, 2, 4, 5, 6, 7, 8}));
    EXPECT_TRUE(ExportFormatList().empty());
}

TEST(ExportFormat, NoPanelIsAnErrorAndWritesNothing) {
    cbtest::TempDir dir;
    ProbeFormat f;
    const std::string file = dir.file("x.prb");
    try {
        f.SaveToFile(file);
        FAIL() << "no error";
    } catch (const EExportError& e) {
        EXPECT_STREQ(e.what(), "Panel property is not set in Export format");
    }
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_THROW(f.CopyToClipboard(), EExportError);
    EXPECT_FALSE(f.copied);
}

TEST(ExportFormat, SizeZeroMeansThePanels) {
    BarPanel panel(400, 250);
    cbtest::TempDir dir;
    struct Case {
        int w, h, expectW, expectH;
    } cases[] = {{0, 0, 400, 250}, {300, 200, 300, 200}, {0, 120, 400, 120}};
    for (const Case& c : cases) {
        ProbeFormat f;
        f.Panel = &panel;
        f.Width = c.w;
        f.Height = c.h;
        f.SaveToFile(dir.file("s.prb"));
        EXPECT_EQ(f.seenWidth, c.expectW);
        EXPECT_EQ(f.seenHeight, c.expectH);
    }
}

TEST(ExportFormat, FailedExportLeavesTheOldFileAsItWas) {
    BarPanel panel;
    cbtest::TempDir dir;
    const std::string file = dir.file("old.prb");
    cbtest::writeFile(file, "the user's old file");
    ProbeFormat f;
    f.Panel = &panel;
    f.fail = true;
    EXPECT_THROW(f.SaveToFile(file), EExportError);
    EXPECT_EQ(cbtest::readFile(file), "the user's old file");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);  // no temporary left
    f.fail = false;
    f.SaveToFile(file);
    EXPECT_EQ(cbtest::readFile(file), "partial");
}

TEST(ExportFormat, FailingPanelDrawingLeavesTheOldFile) {
    BarPanel panel;
    panel.fail = true;
    cbtest::TempDir dir;
    const std::string file = dir.file("old.jpg");
    cbtest::writeFile(file, "old");
    TJPEGExportFormat jpeg;
    jpeg.Panel = &panel;
    EXPECT_ANY_THROW(jpeg.SaveToFile(file));
    EXPECT_EQ(cbtest::readFile(file), "old");
}

}  // namespace
