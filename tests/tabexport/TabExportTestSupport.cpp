#include "TabExportTestSupport.h"

#include "platform/os/Files.h"

#include <QProcess>
#include <QStringList>

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace cb::tabexport::test {

std::unique_ptr<cb::grid::TBaseGrid> MakeGrid(const TTable& Cells, int FixedRows) {
    auto grid = std::make_unique<cb::grid::TBaseGrid>();
    int cols = 1;
    for (const auto& row : Cells) cols = std::max(cols, int(row.size()));
    grid->SetColCount(cols);
    grid->SetRowCount(std::max<int>(int(Cells.size()), 1));
    grid->SetFixedCols(0);
    grid->SetFixedRows(FixedRows);
    for (size_t r = 0; r < Cells.size(); ++r)
        for (size_t c = 0; c < Cells[r].size(); ++c) grid->SetRawCellText(int(c), int(r), Cells[r][c]);
    return grid;
}

std::string TempDir() {
    static std::vector<std::string> dirs;
    static struct TCleanup {
        ~TCleanup() {
            if (std::getenv("CB_KEEP_TEST_FILES")) return;
            for (const auto& d : dirs) cb::os::RemoveDirectoryTree(d);
        }
    } cleanup;
    dirs.push_back(cb::os::CreateTempDirectory("cb-tabexport-test-"));
    return dirs.back();
}

std::string RunProgram(const std::string& Program, const std::vector<std::string>& Args, int TimeoutMs) {
    QProcess p;
    QStringList args;
    for (const auto& a : Args) args << QString::fromStdString(a);
    p.start(QString::fromStdString(Program), args);
    if (!p.waitForStarted()) {
        ADD_FAILURE() << "cannot start " << Program;
        return {};
    }
    p.waitForFinished(TimeoutMs);
    std::string out = p.readAllStandardOutput().toStdString();
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        ADD_FAILURE() << Program << " failed: " << p.readAllStandardError().toStdString();
    return out;
}

QJsonObject DumpXls(const std::string& FileName, int RowLimit) {
    std::string out = RunProgram("/usr/bin/python3",
                                 {CB_SOURCE_DIR "/tests/tabexport/xls_dump.py", FileName, std::to_string(RowLimit)});
    return QJsonDocument::fromJson(QByteArray::fromStdString(out)).object();
}

std::string ReadFile(const std::string& FileName) {
    std::ifstream f(FileName, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

void WriteFile(const std::string& FileName, const std::string& Data) {
    std::ofstream f(FileName, std::ios::binary);
    f << Data;
}

}  // namespace cb::tabexport::test
