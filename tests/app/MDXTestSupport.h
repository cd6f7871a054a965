#pragma once
// Shared by the query model and display manager tests: a user interface that
// records what it is asked, and a context pointing at it and at a temporary log.
#include "app/core/base/AppContext.h"
#include "app/core/base/LogFile.h"
#include "app/core/base/UserInterface.h"
#include "tests/common/TestSupport.h"

#include <memory>
#include <string>
#include <vector>

namespace cbtest {

class TRecordingUI : public cb::app::TBaseUserInterface {
public:
    std::vector<std::string> Errors, Informations, Questions;
    bool Answer = true;  // for Yes/No and OK/Cancel

    void ShowError(const std::string& text) override { Errors.push_back(text); }
    void ShowInformation(const std::string& text) override { Informations.push_back(text); }
    bool ConfirmOKCancel(const std::string& text) override {
        Questions.push_back(text);
        return Answer;
    }
    bool ConfirmYesNo(const std::string& text) override {
        Questions.push_back(text);
        return Answer;
    }
    int AskYesNoCancel(const std::string& text) override {
        Questions.push_back(text);
        return Answer ? cb::app::mrYes : cb::app::mrNo;
    }
};

// A recording UI and a log in a temporary folder, handed to the objects
// under test through Context().
class TTestContext {
public:
    TTestContext() : FLog(std::make_unique<cb::app::TLogFile>(FDir.file("cube_browser.log"))) {}
    cb::app::TAppContext Context() { return cb::app::TAppContext{FLog.get(), Config, &UI}; }
    std::string LogText() const { return readFile(FDir.file("cube_browser.log")); }
    const TempDir& Dir() const { return FDir; }

    TRecordingUI UI;
    cb::app::TCubeBrowserConfig* Config = nullptr;  // none by default

private:
    TempDir FDir;
    std::unique_ptr<cb::app::TLogFile> FLog;
};

}  // namespace cbtest

#include "app/core/cube/CubeConnection.h"

namespace cbtest {

inline std::string SampleCubePath() {
    return std::string(CB_BIN_DIR) + "/Local Cubes/Tavo_sample.cub";
}

inline std::string LocalCubeConnectionString(const std::string& file) {
    return "Data Source=\"" + file + "\";Provider=MSOLAP.2;";
}

// A connection to a local cube file, opened as the main window does.
inline std::unique_ptr<cb::app::TMSOLAPConnection> OpenLocalCube(const std::string& file,
                                                                 cb::app::TAppContext context = {}) {
    auto description = std::make_unique<cb::app::TCubeConnectionString>();
    description->ConnectionType = cb::app::TConnectionType::ctLocalCubeFile;
    description->FileName = file;
    return std::make_unique<cb::app::TMSOLAPConnection>(std::move(description), context);
}

// Unique names of the members of an axis, position by position.
inline std::vector<std::vector<std::string>> AxisTuples(const cb::olap::Cellset& cellset, int axis) {
    std::vector<std::vector<std::string>> tuples;
    for (const auto& position : cellset.Axes().Item(axis)->Positions()) {
        tuples.emplace_back();
        for (const auto& member : position->Members()) tuples.back().push_back(member->UniqueName());
    }
    return tuples;
}

}  // namespace cbtest
