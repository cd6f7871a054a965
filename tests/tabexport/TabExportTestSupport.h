#pragma once
// Helpers of the tabular export tests: grids filled from tables, a private
// folder, and the independent readers run as programs.
#include "grid/BaseGrid.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <memory>
#include <string>
#include <vector>

namespace cb::tabexport::test {

using TTable = std::vector<std::vector<std::string>>;

// A grid of the table's size (no fixed rows unless asked) holding it.
std::unique_ptr<cb::grid::TBaseGrid> MakeGrid(const TTable& Cells, int FixedRows = 0);

// A new folder for one test, removed at exit of the test program (kept
// when CB_KEEP_TEST_FILES is set).
std::string TempDir();

// Runs a program; returns its standard output, fails the test on a
// non-zero exit.
std::string RunProgram(const std::string& Program, const std::vector<std::string>& Args, int TimeoutMs = 120000);

// What xlrd and olefile read from a workbook (tests/tabexport/xls_dump.py).
QJsonObject DumpXls(const std::string& FileName, int RowLimit = 200);

std::string ReadFile(const std::string& FileName);
void WriteFile(const std::string& FileName, const std::string& Data);

}  // namespace cb::tabexport::test
