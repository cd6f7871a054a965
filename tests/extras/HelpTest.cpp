#include "extras/ChmFile.h"
#include "extras/HelpHook.h"
#include "extras/HelpWindow.h"

#include "tests/common/TestSupport.h"

#include <QApplication>
#include <QListWidget>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <chm_lib.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

using namespace cb::extras;

namespace {

const std::string HelpFile = std::string(CB_BIN_DIR) + "/help/Tavo.chm";

const std::vector<std::string> ProgramTopics = {"introduction.htm", "grid view.htm",  "grid menu.htm",
                                                "chart view.htm",   "left menu.htm",  "member selection.htm",
                                                "publishing.htm",   "local cubes.htm"};

// Everything the hook keeps process-wide, put back after each test.
class Help : public ::testing::Test {
protected:
    void SetUp() override {
        HHSetupState({"prog"}, dir.file("prog"));
        HHWarningBox() = [this](const std::string& text) { warnings.push_back(text); };
    }
    void TearDown() override {
        HHCloseAll();
        HHWarningBox() = nullptr;
        ApplicationHelpEvent() = nullptr;
        HHCleanupState();
    }
    cbtest::TempDir dir;
    std::vector<std::string> warnings;
};

int CollectPath(chmFile*, chmUnitInfo* ui, void* context) {
    static_cast<std::vector<std::string>*>(context)->emplace_back(ui->path);
    return CHM_ENUMERATOR_CONTINUE;
}

}  // namespace

TEST(HelpPath, ComposedFromFileTopicAndWindow) {
    struct Case {
        const char *file, *topic, *window;
        int prefix;
        const char* path;
    } cases[] = {
        {"a%20b.chm", "dir\\page.htm", "main", 0, "a b.chm::/dir/page.htm>main"},
        {"a%20b.chm", "dir\\page.htm", "main", 1, "mk:@MSITStore:a b.chm::/dir/page.htm>main"},
        {"a.chm", "page.htm", "", 2, "ms-its:a.chm::/page.htm"},
        {"a.chm", "", "", 0, "a.chm"},
        {"", "page.htm", "", 0, "/page.htm"},
        {"  a.chm ", " /page.htm  ", "  ", 0, "a.chm::/page.htm"},
        {"/opt/app/help/Tavo.chm", "grid view.htm", "", 0, "/opt/app/help/Tavo.chm::/grid view.htm"},
        {"a.chm", "%20", "w", 0, "a.chm>w"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HHComposeHelpPath(c.file, c.topic, c.window, c.prefix), c.path) << c.file << " | " << c.topic;
}

// chmlib itself reads the file the build compiled: every topic is there
// and holds its page.
TEST(HelpFileBuilt, ChmlibListsEveryTopic) {
    chmFile* h = chm_open(HelpFile.c_str());
    ASSERT_NE(h, nullptr) << HelpFile;
    std::vector<std::string> paths;
    chm_enumerate(h, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, CollectPath, &paths);
    for (const auto& topic : ProgramTopics) {
        EXPECT_NE(std::find(paths.begin(), paths.end(), "/" + topic), paths.end()) << topic;
        chmUnitInfo ui{};
        ASSERT_EQ(chm_resolve_object(h, ("/" + topic).c_str(), &ui), CHM_RESOLVE_SUCCESS) << topic;
        std::string page(std::size_t(ui.length), '\0');
        ASSERT_EQ(chm_retrieve_object(h, &ui, reinterpret_cast<unsigned char*>(page.data()), 0, LONGINT64(ui.length)),
                  LONGINT64(ui.length));
        EXPECT_NE(page.find("<title>"), std::string::npos) << topic;
        // Links between topics name topics that are in the file.
        static const std::regex href("href=\"([^\"#:]+)\"");
        for (std::sregex_iterator it(page.begin(), page.end(), href), end; it != end; ++it)
            EXPECT_NE(std::find(ProgramTopics.begin(), ProgramTopics.end(), (*it)[1].str()), ProgramTopics.end())
                << topic << " links to " << (*it)[1].str();
    }
    chm_close(h);

    TChmFile ours(HelpFile);
    EXPECT_EQ(ours.Topics().size(), ProgramTopics.size());
    EXPECT_EQ(ours.DefaultTopic(), "introduction.htm");
    const auto contents = ours.Contents();
    ASSERT_EQ(contents.size(), ProgramTopics.size());
    for (std::size_t i = 0; i < contents.size(); ++i) EXPECT_EQ(contents[i].second, ProgramTopics[i]);
    EXPECT_EQ(contents[1].first, "Grid view");
    EXPECT_FALSE(ours.Read("nothing.htm").has_value());
}

TEST(HelpFileBuilt, BadFilesGiveClearErrors) {
    cbtest::TempDir dir;
    cbtest::writeFile(dir.file("junk.chm"), "not a help file at all");
    struct Case {
        std::string file, message;
    } cases[] = {
        {dir.file("missing.chm"), "was not found"},
        {dir.file("junk.chm"), "is not a valid help file"},
        {dir.path().string(), "was not found"},
    };
    for (const auto& c : cases) {
        try {
            TChmFile f(c.file);
            ADD_FAILURE() << c.file;
        } catch (const EChmError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
}

TEST_F(Help, WindowShowsTopicsFollowsLinksAndTellsWhatIsMissing) {
    ASSERT_EQ(HHHelpTopic(HelpFile, "grid view.htm", "", hhkApi), HH_CODE_OK);
    THelpWindow* w = HHHelpWindow();
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->CurrentTopic(), "/grid view.htm");
    EXPECT_NE(w->PageText().find("The grid view shows the current view of the cube"), std::string::npos);
    EXPECT_EQ(w->windowTitle().toStdString(), "Help - Grid view");
    ASSERT_EQ(w->TopicList()->count(), int(ProgramTopics.size()));
    EXPECT_EQ(w->TopicList()->item(0)->text().toStdString(), "Introduction");
    ASSERT_NE(w->TopicList()->currentItem(), nullptr);
    EXPECT_EQ(w->TopicList()->currentItem()->text().toStdString(), "Grid view");

    std::filesystem::create_directories(std::string(CB_BIN_DIR) + "/../screenshots");
    w->grab().save(QString(CB_BIN_DIR) + "/../screenshots/help_window.png");

    // A click on a link of the page opens the other topic.
    QTextBrowser* b = w->Browser();
    QTextCursor link = b->document()->find("member selection");
    ASSERT_FALSE(link.isNull());
    b->setTextCursor(link);
    b->ensureCursorVisible();
    QTextCursor mid(link);
    mid.setPosition(link.selectionStart() + 3);
    const QPoint at = b->cursorRect(mid).center();
    QTest::mouseClick(b->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(w->CurrentTopic(), "/member selection.htm");
    EXPECT_NE(w->PageText().find("chooses the members of one dimension"), std::string::npos);

    // Back returns to the first page; a link followed by name works too.
    b->backward();
    EXPECT_EQ(w->CurrentTopic(), "/grid view.htm");
    EXPECT_TRUE(w->FollowLink("chart view.htm"));
    EXPECT_EQ(w->CurrentTopic(), "/chart view.htm");

    // The topic list opens a topic.
    QListWidget* list = w->TopicList();
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text() == "Local cubes") {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(i)).center());
        }
    EXPECT_EQ(w->CurrentTopic(), "/local cubes.htm");

    // A missing topic and a missing file give a message in the window, and
    // the same window is reused.
    EXPECT_EQ(HHHelpTopic(HelpFile, "no such page.htm", "", hhkApi), HH_CODE_OK);
    EXPECT_EQ(HHHelpWindow(), w);
    EXPECT_EQ(w->CurrentTopic(), "");
    EXPECT_EQ(w->Message(), "The topic \"/no such page.htm\" is not in the help file \"" + HelpFile + "\".");
    EXPECT_NE(w->PageText().find("no such page.htm"), std::string::npos);
    w->grab().save(QString(CB_BIN_DIR) + "/../screenshots/help_window_missing_topic.png");

    HHHelpTopic(dir.file("gone.chm"), "grid view.htm", "", hhkApi);
    EXPECT_EQ(w->Message(), "The help file \"" + dir.file("gone.chm") + "\" was not found.");

    // An empty topic opens the file's default topic.
    HHHelpTopic(HelpFile, "", "", hhkApi);
    EXPECT_EQ(w->CurrentTopic(), "/introduction.htm");
    EXPECT_TRUE(warnings.empty());

    HHCloseAll();
    EXPECT_EQ(HHHelpWindow(), nullptr);
}

TEST_F(Help, CodesOfTheHosts) {
    struct Case {
        bool installed;
        int host;
        int code;
    } cases[] = {
        {false, hhkApi, HH_CODE_NOT_INSTALLED}, {false, hhkKeyHH, HH_CODE_NOT_INSTALLED},
        {false, hhkHH, HH_CODE_NOT_INSTALLED},  {true, hhkKeyHH, HH_CODE_NO_KEYHH},
        {true, hhkHH, HH_CODE_NO_HH},           {true, 7, HH_CODE_OK},
    };
    for (const auto& c : cases) {
        HHState().hhInstalled = c.installed;
        EXPECT_EQ(HHHelpTopic(HelpFile, "grid view.htm", "", c.host), c.code) << c.host;
        EXPECT_EQ(HHHelpContext(HelpFile, 12, "", c.host), c.code) << c.host;
    }
    EXPECT_EQ(HHHelpWindow(), nullptr);
    EXPECT_TRUE(warnings.empty());  // only the hook's context display warns

    const std::pair<int, const char*> texts[] = {
        {1, "MS Html Help is not installed on this PC."},
        {2, "System file KeyHH.EXE was not found in the Windows folder."},
        {3, "System file HH.EXE was not found in the Windows folder."},
        {9, "Unknown error returned by HHHelpContext"},
    };
    for (const auto& [code, text] : texts) {
        HHShowError(code);
        EXPECT_EQ(warnings.back(), text);
    }
    warnings.clear();
    HHShowError(0);
    EXPECT_TRUE(warnings.empty());
}

// A viewer program beside the program is started with the help path.
TEST_F(Help, ViewerProgramGetsThePath) {
    const std::string out = dir.file("args.txt");
    cbtest::writeFile(dir.file("HH.EXE"),
                      "#!/bin/sh\nprintf '%s|' \"$@\" > " + out + ".tmp && mv " + out + ".tmp " + out + "\n");
    std::filesystem::permissions(dir.file("HH.EXE"), std::filesystem::perms::owner_all);
    EXPECT_EQ(HHHelpContext("a.chm", 42, "", hhkHH), HH_CODE_OK);
    for (int i = 0; i < 200 && !std::filesystem::exists(out); ++i) QTest::qWait(10);
    EXPECT_EQ(cbtest::readFile(out), "-mapid|42|mk:@MSITStore:a.chm|");
    EXPECT_TRUE(warnings.empty());

    // A viewer that cannot be started is told in a warning box; the code
    // still says that the request was handed on.
    cbtest::writeFile(dir.file("KeyHH.EXE"), "not a program");
    EXPECT_EQ(HHHelpTopic("a.chm", "p.htm", "", hhkKeyHH), HH_CODE_OK);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].rfind(
                  "Function ShellExecute(" + dir.file("KeyHH.EXE") + ", -win a.chm::/p.htm)\nReturned: [Error:", 0),
              0u)
        << warnings[0];
}

TEST_F(Help, HookTakesOverTheHelpEventAndPutsTheOldOneBack) {
    int previousCalls = 0;
    ApplicationHelpEvent() = [&](unsigned, std::intptr_t, bool&) { return ++previousCalls, false; };
    {
        THookHelpSystem hook(HelpFile, "", hhkApi);
        std::vector<int> contexts;
        hook.ContextProc = [&](int c) { contexts.push_back(c); };
        std::vector<std::tuple<int, int, int>> popups;
        hook.PopupContextProc = [&](int c, int x, int y) { popups.emplace_back(c, x, y); };

        bool callHelp = true;
        EXPECT_TRUE(hook.HelpHook(HELP_SETPOPUP_POS, std::intptr_t(0xFFFF0005u), callHelp));
        EXPECT_FALSE(callHelp);
        EXPECT_EQ(hook.PopupX(), 5);
        EXPECT_EQ(hook.PopupY(), -1);
        EXPECT_TRUE(ApplicationHelpCommand(HELP_CONTEXT, 17));
        EXPECT_TRUE(ApplicationHelpCommand(HELP_CONTEXTPOPUP, 18));
        EXPECT_EQ(contexts, std::vector<int>{17});
        ASSERT_EQ(popups.size(), 1u);
        EXPECT_EQ(popups[0], std::make_tuple(18, 5, -1));
        for (unsigned other : {unsigned(HELP_QUIT), unsigned(HELP_FINDER), unsigned(HELP_KEY), 999u}) {
            callHelp = false;
            EXPECT_TRUE(hook.HelpHook(other, 0, callHelp));
            EXPECT_TRUE(callHelp) << other;
        }

        // Without the procedures a context request shows the help file; a
        // failure is told in a warning box.
        hook.ContextProc = nullptr;
        ApplicationHelpCommand(HELP_CONTEXT, 3);
        ASSERT_NE(HHHelpWindow(), nullptr);
        EXPECT_EQ(HHHelpWindow()->CurrentTopic(), "/introduction.htm");
        HHState().hhInstalled = false;
        ApplicationHelpCommand(HELP_CONTEXT, 3);
        EXPECT_EQ(warnings, std::vector<std::string>{"MS Html Help is not installed on this PC."});
    }
    EXPECT_EQ(HHHelpWindow(), nullptr);  // the API host's hook closes the help
    EXPECT_FALSE(ApplicationHelpCommand(HELP_CONTEXT, 1));
    EXPECT_EQ(previousCalls, 1);
}

TEST_F(Help, DebugLogLines) {
    EXPECT_FALSE(HHState().Debug);
    HHLogLine("not written");
    EXPECT_FALSE(std::filesystem::exists(HHLogFileName()));

    cbtest::writeFile(dir.file("HHDebug.txt"), "old log\n");
    HHSetupState({"prog", "x", "/DEBUG"}, dir.file("prog"));
    EXPECT_TRUE(HHState().Debug);
    EXPECT_EQ(HHLogFileName(), dir.file("HHDebug.txt"));
    const std::string header = cbtest::readFile(HHLogFileName());
    EXPECT_EQ(header.find("old log"), std::string::npos);
    EXPECT_EQ(header.rfind("Filename:", 0), 0u);
    EXPECT_NE(header.find("Cmdline Param(s) =  \tx | /DEBUG\n"), std::string::npos);
    EXPECT_NE(header.find("\n" + std::string(79, '=') + "\n"), std::string::npos);

    std::filesystem::remove(HHLogFileName());
    for (const char* line : {"-", "=", "!plain", "", "ShowTopic(\"a\", 0)", "-x"}) HHLogLine(line);
    const std::string log = cbtest::readFile(HHLogFileName());
    static const std::regex expected("-{79}\n={79}\nplain\n\\S.*   \n\\S.*   ShowTopic\\(\"a\", 0\\)\nx\n");
    EXPECT_TRUE(std::regex_match(log, expected)) << log;

    // "debug.debug" beside the program turns it on without arguments.
    HHSetupState({"prog"}, dir.file("prog"));
    EXPECT_FALSE(HHState().Debug);
    cbtest::writeFile(dir.file("debug.debug"), "");
    HHSetupState({"prog", "-debugx"}, dir.file("prog"));
    EXPECT_TRUE(HHState().Debug);
}

TEST(HelpErrors, LastErrorTexts) {
    const std::pair<int, const char*> cases[] = {
        {2, "[Error:2] File Not Found"},
        {33, "[Error:33] File In Use"},
        {112, "[Error:112] Disk Full"},
        {1393, "[Error:1393] Corrupt File Or Disk"},
        {1151, "[Error:1151] Not A Windows Or MSDos Program"},
        {77, "[Error:77] General Failure"},
    };
    for (const auto& [code, text] : cases) EXPECT_EQ(HHLastErrorText(code), text);
    EXPECT_EQ(HelpCommandText(3), "3 (HELP_INDEX or HELP_CONTENTS)");
    EXPECT_EQ(HelpCommandText(14), "14 (?"
                                   "?)");
}

// Help files of other makers: without a contents file the list holds the
// pages' titles; a broken contents file gives what can be read of it.
TEST(HelpFileBuilt, ContentsOfOtherHelpFiles) {
    cbtest::TempDir dir;
    cbtest::writeFile(dir.file("a.htm"), "<html><head><title> Alpha\n page </title></head><body>A</body></html>");
    cbtest::writeFile(dir.file("b.htm"), "<html><body>B</body></html>");
    cbtest::writeFile(dir.file("broken.hhc"),
                      "<ul><li><OBJECT type=\"text/sitemap\">\n<param name=\"Local\" "
                      "value=\"b.htm\"><param name=Name value=x>\n<li><object><param name=\"Name\"");
    struct Case {
        const char* contents;
        std::vector<std::string> names;
    } cases[] = {
        {"", {"Alpha page", "b.htm"}},
        {"broken.hhc", {"b.htm"}},
    };
    for (const auto& c : cases) {
        std::string project = "[OPTIONS]\nCompiled file=t.chm\n";
        if (*c.contents) project += std::string("Contents file=") + c.contents + "\n";
        project += "[FILES]\na.htm\nb.htm\n";
        cbtest::writeFile(dir.file("t.hhp"), project);
        std::filesystem::remove(dir.file("t.chm"));
        ASSERT_EQ(cbtest::runCommand("cd '" + dir.path().string() +
                                     "' && /usr/bin/chmcmd --no-html-scan t.hhp >/dev/null 2>&1"),
                  0);
        THelpWindow w;
        w.ShowTopic(dir.file("t.chm"), "a.htm");
        EXPECT_NE(w.PageText().find("A"), std::string::npos);
        std::vector<std::string> names;
        for (int i = 0; i < w.TopicList()->count(); ++i) names.push_back(w.TopicList()->item(i)->text().toStdString());
        EXPECT_EQ(names, c.names) << c.contents;
    }
}
