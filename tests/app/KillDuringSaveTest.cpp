// kill -9 during each kind of save: a child process (this test program,
// run again) starts the save and is killed outright once it has written a
// little; the old file stays whole, and the next save of the same target
// removes what the killed one left and leaves no temporary file.
#include "MDXTestSupport.h"
#include "app/core/query/DisplayManager.h"
#include "app/core/cube/LocalCubeCreate.h"
#include "app/core/publish/PublishReport.h"
#include "app/ui/dialogs/PublishDialog.h"
#include "chart/panel/CustomPlotPanel.h"
#include "chartexport/raster/JPEGExportFormat.h"
#include "grid/ExtStringGrid.h"
#include "olap/engine/CubeFile.h"
#include "platform/rtl/IniFile.h"
#include "tests/common/TestCubes.h"
#include "zip/ZipWriter.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace cb::app;
using TLocation = TCreateLocalCubeUsingGlobalCreateStorageLocation;
namespace fs = std::filesystem;

namespace {

const char* const kKindVariable = "CB_KILL_DURING_SAVE_KIND";
const char* const kDirVariable = "CB_KILL_DURING_SAVE_DIR";
// The child may write this much into any file; the next byte kills it.
constexpr rlim_t kWriteLimit = 8192;

class TPlainPanel : public cb::chart::TCustomPlotPanel {
public:
    TPlainPanel() {
        SetColor(0x0080FF);
        resize(1600, 1200);
    }
    void DrawContents(const cb::chart::TRect&) override {}
};

std::string RandomBytes(std::size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    std::string s(n, '\0');
    for (char& c : s) c = char(rng());
    return s;
}

void FillGrid(cb::grid::TExtStringGrid& grid, int generation) {
    grid.SetColCount(6);
    grid.SetRowCount(300);
    for (int r = 0; r < grid.RowCount(); ++r)
        for (int c = 0; c < grid.ColCount(); ++c)
            grid.SetCells(c, r, "cell " + std::to_string(r * 10 + c + generation * 100000));
}

void Copy(const std::string& dir, int kind, const std::string& target) {
    cbtest::TTestContext context;
    TCreateLocalCubeUsingGlobalCreate builder(context.Context());
    auto description = std::make_unique<TCubeConnectionString>();
    description->ConnectionType = TConnectionType::ctLocalCubeFile;
    description->FileName = dir + "/source.cub";
    ASSERT_TRUE(builder.Connection().Connect(std::move(description)));
    ASSERT_TRUE(builder.Connection().SelectCubeByName("Tiny"));
    ASSERT_TRUE(builder.LoadMeasureNames());
    ASSERT_TRUE(builder.LoadDimensionNames());
    builder.CubeName = "Copy";
    auto location = std::make_unique<TLocation>();
    location->Kind = kind;
    location->FileName = target;
    location->ZipPassword = "pw";
    builder.SetStorageLocation(std::move(location));
    ASSERT_TRUE(builder.Execute()) << (context.UI.Errors.empty() ? "" : context.UI.Errors[0]);
}

void Publish(const std::string& target, bool (TfrmExport::*format)(const std::string&), int generation) {
    cbtest::TTestContext context;
    cb::grid::TExtStringGrid grid;
    FillGrid(grid, generation);
    TDisplayManager manager(context.Context());
    manager.GetGridLayout().SetGrid(&grid);
    TfrmExport dialog(&manager, context.Context());
    ASSERT_TRUE((dialog.*format)(target)) << (context.UI.Errors.empty() ? "" : context.UI.Errors[0]);
}

struct TSaveKind {
    const char* name;
    const char* target;  // in the test's folder
    std::function<void(const std::string& dir, const std::string& target, int generation)> save;
};

const std::vector<TSaveKind>& SaveKinds() {
    static const std::vector<TSaveKind> kinds = {
        {"cube build", "built.cub",
         [](const std::string&, const std::string& target, int) {
             cb::olap::WriteCubeFile(*cb::olap::MakeTinyCube(), target);
         }},
        {"copy", "copy.cub",
         [](const std::string& dir, const std::string& target, int) { Copy(dir, TLocation::slLocalCube, target); }},
        {"zipped copy", "copy.zip",
         [](const std::string& dir, const std::string& target, int) {
             Copy(dir, TLocation::slZippedLocalCube, target);
         }},
        {"zip update", "update.zip",
         [](const std::string& dir, const std::string& target, int generation) {
             // The part is made before (the killed child may write nothing else).
             const std::string file = dir + "/part" + std::to_string(generation) + ".bin";
             cb::zip::TZipWriter zip;
             zip.SetZipName(target);
             zip.FilesList() = {file};
             ASSERT_EQ(zip.ZipFiles(), 1);
         }},
        {"XLS publish", "report.xls",
         [](const std::string&, const std::string& target, int generation) {
             Publish(target, &TfrmExport::ExportXLS, generation);
         }},
        {"RTF publish", "report.rtf",
         [](const std::string&, const std::string& target, int generation) {
             Publish(target, &TfrmExport::ExportRTF, generation);
         }},
        {"PDF publish", "report.pdf",
         [](const std::string&, const std::string& target, int generation) {
             Publish(target, &TfrmExport::ExportPDF, generation);
         }},
        {"HTML publish", "report.html",
         [](const std::string&, const std::string& target, int generation) {
             std::vector<std::string> lines;
             for (int i = 0; i < 2000; ++i)
                 lines.push_back("<tr><td>row " + std::to_string(i + generation * 100000) + "</td></tr>");
             SaveReportLines(lines, target);
         }},
        {"chart export", "chart.jpg",
         [](const std::string&, const std::string& target, int generation) {
             TPlainPanel panel;
             panel.SetColor(generation == 1 ? 0x0080FF : 0xFF8000);
             cb::chartexport::TJPEGExportFormat jpeg;
             jpeg.Panel = &panel;
             jpeg.SaveToFile(target);
         }},
        {"settings", "app.ini",
         [](const std::string&, const std::string& target, int generation) {
             cb::rtl::TMemIniFile ini(target);
             for (int i = 0; i < 400; ++i)
                 ini.WriteString("AppSettings", "Key" + std::to_string(i),
                                 "value " + std::to_string(i * generation) + std::string(40, 'v'));
             ini.UpdateFile();
         }},
    };
    return kinds;
}

// Files a save leaves beside its target while it runs.
std::vector<std::string> Leftovers(const std::string& dir) {
    std::vector<std::string> r;
    for (const auto& e : fs::directory_iterator(dir)) {
        const std::string name = e.path().filename().string();
        if (name.find(".tmp-") != std::string::npos || name.rfind(".cubecopy-", 0) == 0) r.push_back(name);
    }
    return r;
}

extern "C" void KillOnFileSizeLimit(int) {
    ::raise(SIGKILL);
}

}  // namespace

// Run by the test below in a child process; does nothing on its own.
TEST(KillDuringSave, Child) {
    const char* kind = std::getenv(kKindVariable);
    const char* dir = std::getenv(kDirVariable);
    if (!kind || !dir) return;
    for (const TSaveKind& k : SaveKinds()) {
        if (k.name != std::string(kind)) continue;
        // The first write past the limit kills the process outright.
        ::signal(SIGXFSZ, KillOnFileSizeLimit);
        rlimit limit{kWriteLimit, kWriteLimit};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        k.save(dir, std::string(dir) + "/" + k.target, 2);
        std::_Exit(3);  // finished: never killed
    }
    std::_Exit(4);
}

TEST(KillDuringSave, NextSaveRemovesWhatTheKilledOneLeft) {
    for (const TSaveKind& kind : SaveKinds()) {
        SCOPED_TRACE(kind.name);
        cbtest::TempDir folder;
        const std::string dir = folder.path().string();
        cb::olap::WriteCubeFile(*cb::olap::MakeTinyCube(), dir + "/source.cub");
        for (int generation = 1; generation <= 3; ++generation)
            cbtest::writeFile(dir + "/part" + std::to_string(generation) + ".bin",
                              RandomBytes(64 * 1024, unsigned(generation)));
        const std::string target = dir + "/" + kind.target;
        kind.save(dir, target, 1);
        const std::string old = cbtest::readFile(target);
        ASSERT_GT(old.size(), 0u);

        // Everything the child needs is made before the fork.
        std::vector<std::string> env = {std::string(kKindVariable) + "=" + kind.name,
                                        std::string(kDirVariable) + "=" + dir};
        for (char** e = environ; *e; ++e) env.emplace_back(*e);
        std::vector<char*> envp;
        for (std::string& e : env) envp.push_back(e.data());
        envp.push_back(nullptr);
        std::string self = fs::read_symlink("/proc/self/exe").string();
        std::string filter = "--gtest_filter=KillDuringSave.Child";
        char* argv[] = {self.data(), filter.data(), nullptr};
        const pid_t child = ::fork();
        if (child == 0) {
            ::execve(argv[0], argv, envp.data());
            std::_Exit(5);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
            << "the child was not killed during the save (status " << status << ")";
        EXPECT_FALSE(Leftovers(dir).empty()) << "the killed save left nothing to clean up";
        EXPECT_EQ(cbtest::readFile(target), old) << "the old file did not stay whole";

        kind.save(dir, target, 3);
        EXPECT_EQ(Leftovers(dir), std::vector<std::string>{});
        EXPECT_TRUE(fs::is_regular_file(target));
        EXPECT_GT(fs::file_size(target), 0u);
    }
}
