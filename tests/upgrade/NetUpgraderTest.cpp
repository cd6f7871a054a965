// The upgrade component against the loopback server, with its windows,
// launcher and close step replaced by recorders.
#include "upgrade/NetUpgrader.h"
#include "tests/upgrade/NetTestServer.h"
#include "upgrade/NetUtils.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace cb::upgrade;
using cb::upgrade::test::NetServer;
namespace fs = std::filesystem;

namespace {

struct TRecordUI : TNetUpgraderUI {
    std::vector<std::string> Calls;
    bool AnswerUpgrade = true, AnswerYesNo = true, AnswerFinished = true;
    bool AskUpgrade(TNetUpgrader&, const std::string& msg) override {
        Calls.push_back("ask:" + msg);
        return AnswerUpgrade;
    }
    void ShowWizard(TNetUpgrader&) override { Calls.push_back("wizard"); }
    void WizardFile(const std::string&, const std::string& counter) override { Calls.push_back(counter); }
    void WizardSize(const std::string&) override {}
    void WizardProgress(int, int, const std::string&, const std::string&) override {}
    bool WizardFinished(TNetUpgrader&) override {
        Calls.push_back("finished");
        return AnswerFinished;
    }
    void CloseWindows() override {}
    bool AskPassword(TNetUpgrader&, const std::string&) override { return false; }
    void ShowError(const std::string& text) override { Calls.push_back("error:" + text.substr(0, 20)); }
    bool AskYesNo(const std::string& caption, const std::string&) override {
        Calls.push_back("yesno:" + caption);
        return AnswerYesNo;
    }
};

std::string Sha(const std::string& text) {
    return QCryptographicHash::hash(QByteArray::fromStdString(text), QCryptographicHash::Sha256).toHex().toStdString();
}

std::string InfoUrl(const std::string& text) {
    return NetServer().Url("/info?" + QUrl::toPercentEncoding(QString::fromStdString(text)).toStdString());
}

struct TFixture {
    fs::path Dir = fs::temp_directory_path() / ("cb-upgrade-" + std::to_string(::getpid()));
    TNetUpgrader Upgrader;
    TRecordUI* UI = nullptr;
    std::vector<std::string> Events;
    bool Ended = false;

    TFixture() {
        fs::remove_all(Dir);
        fs::create_directories(Dir);
        auto ui = std::make_unique<TRecordUI>();
        UI = ui.get();
        Upgrader.UI = std::move(ui);
        Upgrader.ExecutableFolder = Dir.string();
        Upgrader.ExecutablePath = (Dir / "cubebrowser").string();
        Upgrader.VersionDate = "2/29/2004";
        Upgrader.OnFileDone = [this](TNetUpgrader&, const std::string& f) {
            Events.push_back("file:" + fs::path(f).filename().string());
        };
        Upgrader.OnLostFile = [this](TNetUpgrader&, const std::string& url, int code, bool&) {
            Events.push_back("lost:" + GetURLFileName(url) + ":" + std::to_string(code));
        };
        Upgrader.OnHandOverFailed = [this](TNetUpgrader&, const std::string& why) {
            Events.push_back("handover failed");
            Ended = true;
            (void)why;
        };
        Upgrader.OnDoOwnCloseAppMethod = [this](TNetUpgrader&) {
            Events.push_back("close");
            Ended = true;
        };
        Upgrader.OnNoUpdateAvailable = [this](TNetUpgrader&) {
            Events.push_back("no update");
            Ended = true;
        };
        Upgrader.OnNoInfoFile = [this](TNetUpgrader&) {
            Events.push_back("no info file");
            Ended = true;
        };
        Upgrader.OnAborted = [this](TNetUpgrader&) {
            Events.push_back("aborted");
            Ended = true;
        };
    }
    ~TFixture() { fs::remove_all(Dir); }
    void Run(const std::string& info) {
        Upgrader.InfoFileURL = InfoUrl(info);
        Upgrader.CheckForUpdate();
        QElapsedTimer t;
        t.start();
        while (!Ended && t.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        ASSERT_TRUE(Ended) << "the upgrade did not come to an end";
    }
};

}  // namespace

TEST(NetUpgrader, InformationFileRules) {
    EXPECT_EQ(TNetUpgrader::InfoFiles("#url=a\n#url2=b\n"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(TNetUpgrader::InfoFiles("#url0=a\n#url1=b\n"), (std::vector<std::string>{"a"}));
    EXPECT_EQ(TNetUpgrader::InfoValue("#VERSION=1.2B\n", "version"), "1.2B");
    EXPECT_EQ(TNetUpgrader::InfoValue("#message={two\nlines} #date=1/1/2001", "message"), "two\nlines");
    EXPECT_EQ(TNetUpgrader::InfoValue("x", "date"), "");

    TNetUpgrader u;
    u.UI.reset();
    u.VersionDate = "2/29/2004";
    EXPECT_TRUE(u.IsNewer("#date=3/1/2004\n"));
    EXPECT_FALSE(u.IsNewer("#date=2/29/2004\n"));
    for (const char* bad : {"", "#date=\n", "#date=13/45/2004\n", "#date=soon\n"}) EXPECT_FALSE(u.IsNewer(bad)) << bad;
    u.VersionControl = TNetUpgraderVersionControl::byNumber;
    u.VersionNumber = "1.9";
    EXPECT_TRUE(u.IsNewer("#version=1.10\n"));
    EXPECT_FALSE(u.IsNewer("#version=1.9.0\n"));
    u.SetRestartParams("");
    EXPECT_EQ(u.RestartParams(), " ");
    EXPECT_EQ(TNetUpgrader::FormatVersionDate(cb::rtl::EncodeDate(2004, 2, 9)), "02/09/2004");
}

TEST(NetUpgrader, DownloadsVerifiesAndKeepsHandOverOff) {
    TFixture f;
    std::string a = NetServer().Url("/files/a.bin"), b = NetServer().Url("/files/b.bin"),
                c = NetServer().Url("/files/c.bin");
    std::string info = "#date=3/1/2004\n#message={New}\n#url=" + a + "\n#sha256=" + Sha("content of a.bin") +
                       "\n#url0=" + b + "\n#sha2560=" + Sha("something else") + "\n#url3=" + c + "\n";
    f.Run(info);
    // a checks out; b's checksum is wrong; c came over plain http without one
    EXPECT_EQ(f.Events,
              (std::vector<std::string>{"file:a.bin.uTMP", "lost:b.bin:0", "lost:c.bin:0", "handover failed"}));
    EXPECT_EQ(f.UI->Calls,
              (std::vector<std::string>{"ask:New", "wizard", "Downloading 1 of 3", "Downloading 2 of 3",
                                        "yesno:Error #0", "Downloading 3 of 3", "yesno:Error #0", "finished"}));
    EXPECT_TRUE(fs::exists(f.Dir / "a.bin.uTMP"));
    EXPECT_FALSE(fs::exists(f.Dir / "b.bin.uTMP"));
    EXPECT_FALSE(fs::exists(f.Dir / "c.bin.uTMP"));
    struct stat st {};
    ::stat((f.Dir / "a.bin.uTMP").c_str(), &st);
    EXPECT_EQ(st.st_mtime, 784887150);  // Last-Modified: Tue, 15 Nov 1994 08:12:30 GMT (even seconds)
}

TEST(NetUpgrader, HandOverFromAPrivateFolder) {
    for (bool launches : {true, false}) {
        TFixture f;
        auto program = f.Dir / "upgrader-source.sh";
        { std::ofstream(program) << "#!/bin/sh\n"; }
        f.Upgrader.HandOverEnabled = true;
        f.Upgrader.UpgraderProgram = program.string();
        std::string launched;
        std::vector<std::string> args;
        f.Upgrader.Launcher = [&](const std::string& p, const std::vector<std::string>& a) {
            launched = p;
            args = a;
            return launches;
        };
        std::string a = NetServer().Url("/files/a.bin");
        f.Run("#date=3/1/2004\n#method=1\n#url=" + a + "\n#sha256=" + Sha("content of a.bin") + "\n");
        EXPECT_EQ(f.Events.back(), launches ? "close" : "handover failed");
        ASSERT_FALSE(launched.empty());
        struct stat st {};
        ASSERT_EQ(::stat(f.Upgrader.HandOverFolder().c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u);
        EXPECT_EQ(fs::path(launched).parent_path(), fs::path(f.Upgrader.HandOverFolder()));
        EXPECT_EQ(args, (std::vector<std::string>{f.Upgrader.ExecutablePath, "+/afterupgrade1"}));
        fs::remove_all(f.Upgrader.HandOverFolder());
    }
}

TEST(NetUpgrader, NothingToDo) {
    {
        TFixture f;  // an older date: no update, and no box unless asked for
        f.Run("#date=1/1/2000\n#url=" + NetServer().Url("/files/a.bin") + "\n");
        EXPECT_EQ(f.Events, (std::vector<std::string>{"no update"}));
        EXPECT_TRUE(f.UI->Calls.empty());
    }
    {
        TFixture f;
        f.Upgrader.ShowMessages |= mNoUpdateAvailable;
        f.Run("#url=" + NetServer().Url("/files/a.bin") + "\n");  // no date at all never counts as newer
        EXPECT_EQ(f.UI->Calls, (std::vector<std::string>{"error:Newer version not fo"}));
    }
    {
        TFixture f;
        f.Upgrader.InfoFileURL = NetServer().Url("/404");
        f.Upgrader.CheckForUpdate();
        QElapsedTimer t;
        t.start();
        while (!f.Ended && t.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        EXPECT_EQ(f.Events, (std::vector<std::string>{"no info file"}));
    }
    {
        TFixture f;  // the user says later
        f.UI->AnswerUpgrade = false;
        bool later = false;
        f.Upgrader.OnLaterUpgrade = [&](TNetUpgrader&) {
            later = true;
            f.Ended = true;
        };
        f.Run("#date=3/1/2004\n#url=" + NetServer().Url("/files/a.bin") + "\n");
        EXPECT_TRUE(later);
        EXPECT_FALSE(fs::exists(f.Dir / "a.bin.uTMP"));
    }
}

// Hostile information files from the server: read within 64 KB and 256
// files, never downloaded from, and the check comes to an end.
TEST(NetUpgrader, HostileInformationFilesEndTheCheck) {
    struct Case {
        const char* path;
        std::vector<std::string> events;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        // 64,000 urls, 1.7 MB: the transfer stops at 64 KB.
        {"/many-urls/64000", {"conn lost"}, {"error:Connection with remo"}},
        {"/many-urls/257", {"no info file"}, {"error:The upgrade informat"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        TFixture f;
        f.Upgrader.ShowMessages |= mNoInfoFile;
        f.Upgrader.OnConnLost = [&](TNetUpgrader&) {
            f.Events.push_back("conn lost");
            f.Ended = true;
        };
        f.Upgrader.InfoFileURL = NetServer().Url(c.path);
        f.Upgrader.CheckForUpdate();
        QElapsedTimer t;
        t.start();
        while (!f.Ended && t.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        EXPECT_EQ(f.Events, c.events);
        EXPECT_EQ(f.UI->Calls, c.calls);
        EXPECT_TRUE(f.Upgrader.Files().empty());
        EXPECT_TRUE(fs::is_empty(f.Dir));
    }
}

namespace {

std::string RawUrl(const std::string& name, const std::string& body) {
    return NetServer().Url("/raw/" + QUrl::toPercentEncoding(QString::fromStdString(body)).toStdString() + "/" + name);
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Whether a process runs the executable.
bool Runs(const fs::path& executable) {
    for (const auto& entry : fs::directory_iterator("/proc")) {
        std::error_code ec;
        const fs::path exe = fs::read_symlink(entry.path() / "exe", ec);
        if (!ec && exe == executable) return true;
    }
    return false;
}

bool WaitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms) return false;
        ::usleep(50000);
    }
    return true;
}

// The program of a self upgrade, with two new files listed, started for
// real: the running "program" is a copy of sleep, the new one a script that
// notes how it was started.
struct TSelfUpgrade : TFixture {
    const std::string NewProgram = "#!/bin/sh\necho \"$@\" > \"$(dirname \"$0\")/restarted\"\n";
    const std::string OldProgram = ReadAll("/bin/sleep");
    pid_t Running = -1;
    std::string Method = "0";

    TSelfUpgrade() {
        fs::copy_file("/bin/sleep", Dir / "cubebrowser");
        fs::permissions(Dir / "cubebrowser", fs::perms(0755));
        std::ofstream(Dir / "themes.ini") << "old themes";
        Upgrader.HandOverEnabled = true;
#ifdef CB_UPGRADER
        Upgrader.UpgraderProgram = CB_UPGRADER;
#endif
    }
    ~TSelfUpgrade() {
        if (Running > 0) ::waitpid(Running, nullptr, 0);
        if (!Upgrader.HandOverFolder().empty()) fs::remove_all(Upgrader.HandOverFolder());
    }
    // The program runs for a few seconds while the upgrade downloads.
    void StartProgram() {
        Running = ::fork();
        if (Running == 0) {
            const std::string exe = (Dir / "cubebrowser").string();
            ::execl(exe.c_str(), exe.c_str(), "3", static_cast<char*>(nullptr));
            ::_exit(127);
        }
    }
    std::string Info(const std::vector<std::pair<std::string, std::string>>& files) {
        std::string info = "#date=3/1/2004\n#method=" + Method + "\n";
        for (size_t i = 0; i < files.size(); ++i) {
            // url, url0, then url + (files so far + 1): url3, url4, ...
            const std::string suffix = i == 0 ? "" : i == 1 ? "0" : std::to_string(i + 1);
            info += "#url" + suffix + "=" + RawUrl(files[i].first, files[i].second) + "\n#sha256" + suffix + "=" +
                    Sha(files[i].second) + "\n";
        }
        return info;
    }
    // Runs the check and waits for the upgrade program to end.
    void Upgrade(const std::string& info) {
        StartProgram();
        Run(info);
        ASSERT_EQ(Events.back(), "close");
        const fs::path upgrader = fs::path(Upgrader.HandOverFolder()) / "Upgrader3";
        // The files wait for the program to end.
        if (::waitpid(Running, nullptr, WNOHANG) == 0) {
            EXPECT_EQ(ReadAll(Dir / "cubebrowser"), OldProgram);
            EXPECT_FALSE(Leftovers().empty());
        }
        ::waitpid(Running, nullptr, 0);
        Running = -1;
        ASSERT_TRUE(WaitFor([&] { return !Runs(upgrader); }, 20000)) << "the upgrade program did not end";
    }
    std::vector<std::string> Leftovers() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(Dir)) {
            const std::string n = e.path().filename().string();
            if (n.find(".uTMP") != std::string::npos || n.find(".uOLD") != std::string::npos) names.push_back(n);
        }
        std::sort(names.begin(), names.end());
        return names;
    }
};

}  // namespace

TEST(UpgradeProgram, PutsTheNewFilesInPlaceAndRestartsTheProgram) {
#ifndef CB_UPGRADER
    GTEST_FAIL() << "cubebrowser-upgrader is built with the tools";
#endif
    TSelfUpgrade f;
    f.Upgrade(f.Info({{"cubebrowser", f.NewProgram}, {"themes.ini", "new themes"}, {"help.txt", "new help"}}));
    ASSERT_TRUE(WaitFor([&] { return fs::exists(f.Dir / "restarted") && !ReadAll(f.Dir / "restarted").empty(); },
                        20000))
        << "the program was not started again";
    EXPECT_EQ(ReadAll(f.Dir / "restarted"), "/afterupgrade\n");
    EXPECT_EQ(ReadAll(f.Dir / "cubebrowser"), f.NewProgram);
    EXPECT_EQ(ReadAll(f.Dir / "themes.ini"), "new themes");
    EXPECT_EQ(ReadAll(f.Dir / "help.txt"), "new help");
    EXPECT_EQ(fs::status(f.Dir / "cubebrowser").permissions() & fs::perms::owner_exec, fs::perms::owner_exec);
    EXPECT_EQ(f.Leftovers(), std::vector<std::string>{});
    // The upgrade program's private folder goes with it.
    EXPECT_FALSE(fs::exists(f.Upgrader.HandOverFolder()));
}

TEST(UpgradeProgram, AFailureLeavesTheOldFilesWhole) {
#ifndef CB_UPGRADER
    GTEST_FAIL() << "cubebrowser-upgrader is built with the tools";
#endif
    TSelfUpgrade f;
    // The last file cannot replace what stands in its place, a folder: the
    // two before it are put back.
    fs::create_directories(f.Dir / "zz-notes" / "inside");
    f.Upgrade(f.Info({{"cubebrowser", f.NewProgram}, {"themes.ini", "new themes"}, {"zz-notes", "notes"}}));
    EXPECT_EQ(ReadAll(f.Dir / "cubebrowser"), f.OldProgram);
    EXPECT_EQ(fs::status(f.Dir / "cubebrowser").permissions() & fs::perms(0777), fs::perms(0755));
    EXPECT_EQ(ReadAll(f.Dir / "themes.ini"), "old themes");
    EXPECT_TRUE(fs::is_directory(f.Dir / "zz-notes" / "inside"));
    // The downloads stay for another try; no kept copy is left.
    EXPECT_EQ(f.Leftovers(), (std::vector<std::string>{"cubebrowser.uTMP", "themes.ini.uTMP", "zz-notes.uTMP"}));
    EXPECT_EQ(ReadAll(f.Dir / "cubebrowser.uTMP"), f.NewProgram);
    EXPECT_FALSE(fs::exists(f.Dir / "restarted"));
}

// The external setup: the one download runs in the program's folder, once
// the program has ended, and goes; the program's files stay as they were.
TEST(UpgradeProgram, RunsTheDownloadedSetup) {
#ifndef CB_UPGRADER
    GTEST_FAIL() << "cubebrowser-upgrader is built with the tools";
#endif
    TSelfUpgrade f;
    f.Method = "1";
    f.Upgrade(f.Info({{"setup.sh", "#!/bin/sh\necho \"setup in $(pwd)\" > setup-ran\n"}}));
    ASSERT_TRUE(WaitFor([&] { return fs::exists(f.Dir / "setup-ran"); }, 20000));
    EXPECT_EQ(ReadAll(f.Dir / "setup-ran"), "setup in " + fs::canonical(f.Dir).string() + "\n");
    EXPECT_EQ(ReadAll(f.Dir / "cubebrowser"), f.OldProgram);
    EXPECT_FALSE(fs::exists(f.Dir / "setup.sh.uTMP"));
    EXPECT_FALSE(fs::exists(f.Dir / "setup.sh"));
}
