// Save-dialog names and the question whether the desktop opens a file type.
#include "platform/desktop/SaveDialog.h"
#include "platform/desktop/Shell.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

TEST(SaveDialog, TypedNamesAreCompletedAsTheDialogDoes) {
    cbtest::TempDir dir;
    cb::os::RememberSaveFolder((dir.path() / "earlier.pdf").string());
    EXPECT_EQ(cb::os::LastSaveFolder(), dir.path().string());
    const std::string base = dir.path().string() + "/";
    struct TCase {
        const char* Typed;
        std::vector<std::string> Extensions;
        std::string File;  // empty: refused
    } cases[] = {
        {"report", {"pdf"}, base + "report.pdf"},
        {"  report.PDF ", {"pdf"}, base + "report.PDF"},
        {"sub/../report", {"html", "htm"}, base + "report.html"},
        {"page.htm", {"html", "htm"}, base + "page.htm"},
        {"chart.jpeg", {"jpg", "jpeg"}, base + "chart.jpeg"},
        {"/tmp/elsewhere/cube", {"cub"}, "/tmp/elsewhere/cube.cub"},
        {"chart.png", {"jpg", "jpeg"}, ""},
        {"book.xlsx", {"xls"}, ""},
    };
    for (const TCase& c : cases) {
        std::string error;
        EXPECT_EQ(cb::os::CompleteSaveFileName(c.Typed, c.Extensions, error), c.File) << c.Typed;
        EXPECT_EQ(error.empty(), !c.File.empty()) << c.Typed << ": " << error;
    }
    std::string error;
    cb::os::CompleteSaveFileName("chart.png", {"jpg", "jpeg"}, error);
    EXPECT_EQ(error, "The name chart.png ends in .png, which is not the format being saved. Use the extension .jpg or "
                     "none.");
    // A folder that went away: the documents folder (or home) instead.
    cb::os::RememberSaveFolder((dir.path() / "gone" / "x.pdf").string());
    EXPECT_EQ(cb::os::LastSaveFolder(), dir.path().string());
}

TEST(Shell, OpenerForAFileTypeAsXdgMimeNamesIt) {
    cbtest::TempDir dir;
    const std::string file = (dir.path() / "report.pdf").string();
    std::ofstream(file) << "%PDF-1.4\n";
    const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    auto fakeXdgMime = [&](const std::string& defaultApp, int status) {
        const fs::path script = dir.path() / "xdg-mime";
        std::ofstream(script) << "#!/bin/sh\n"
                              << "if [ \"$2\" = filetype ]; then echo application/pdf; exit 0; fi\n"
                              << "echo '" << defaultApp << "'\nexit " << status << "\n";
        fs::permissions(script, fs::perms::owner_all);
    };
    setenv("PATH", (dir.path().string() + ":" + oldPath).c_str(), 1);
    fakeXdgMime("", 0);
    EXPECT_FALSE(cb::os::HasOpenerFor(file));
    fakeXdgMime("reader.desktop", 0);
    EXPECT_TRUE(cb::os::HasOpenerFor(file));
    // xdg-mime failing or missing cannot tell: the file is handed on.
    fakeXdgMime("", 4);
    EXPECT_TRUE(cb::os::HasOpenerFor(file));
    setenv("PATH", dir.path().string().c_str(), 1);
    fs::remove(dir.path() / "xdg-mime");
    EXPECT_TRUE(cb::os::HasOpenerFor(file));
    setenv("PATH", oldPath.c_str(), 1);
}
