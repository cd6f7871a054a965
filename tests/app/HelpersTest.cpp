#include "app/core/base/Helpers.h"
#include "tests/common/TestSupport.h"

#include <QDesktopServices>
#include <QObject>
#include <QUrl>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using namespace cb::app;

TEST(Helpers, TextHelpers) {
    EXPECT_EQ(EnsureTrailingBackslash(""), "");
    EXPECT_EQ(EnsureTrailingBackslash("/a"), "/a/");
    EXPECT_EQ(EnsureTrailingBackslash("/a/"), "/a/");

    EXPECT_TRUE(IsBlankString(""));
    EXPECT_TRUE(IsBlankString(" \t \r\n"));
    EXPECT_FALSE(IsBlankString(" x "));

    std::string long300;
    for (int i = 0; i < 300; ++i) long300 += static_cast<char>('a' + i % 26);
    const std::string rev = ReverseText(long300);
    ASSERT_EQ(rev.size(), 300u);
    EXPECT_EQ(std::string(rev.rbegin(), rev.rend()), long300);
    EXPECT_EQ(ReverseText("a\xC3\xA9\xE2\x82\xAC"
                          "b"),
              "b\xE2\x82\xAC\xC3\xA9"
              "a");  // multi-byte characters stay whole
    EXPECT_EQ(ReverseText(""), "");

    EXPECT_EQ(LastPosOf(".", "a.b.c"), 4);
    EXPECT_EQ(LastPosOf(".", "abc"), 0);
    EXPECT_EQ(LastPosOf("/", "/"), 1);
    EXPECT_EQ(LastPosOf("bc", "abcabc"), 5);
    EXPECT_EQ(LastPosOf("", "abc"), 0);
}

TEST(Helpers, EmailAddresses) {
    struct Case {
        const char* text;
        bool valid;
    };
    const Case cases[] = {
        {"a@bc.de", true},
        {"first.last@example.com", true},
        {"x_y+tag@mail.example.org", true},
        {"a.b@cd.ef", true},
        {"", false},
        {"@bc.de", false},     // starts with the at sign
        {"abc.de", false},     // no at sign
        {"a b@cd.ef", false},  // blank inside
        {"ab@cd.ef ", false},  // trailing blank
        {"ab@.cdef", false},   // dot right after the at sign
        {"ab@cdefgh", false},  // domain without a dot
        {"ab@cdef.", false},   // ends in its only dot
        {"ab@cd.ef.", false},  // ends in a dot
        {"a@b.cd", false},     // fewer than five characters after @
        {"a@b.c", false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsValidEmailAddress(c.text), c.valid) << c.text;
}

TEST(Helpers, ReplaceFileExtension) {
    struct Case {
        const char* name;
        const char* ext;
        const char* expected;
    };
    const Case cases[] = {
        {"/data/cube.zip", "cub", "/data/cube.cub"},
        {"/data/cube", "cub", "/data/cube.cub"},
        {"/da.ta/cube", "cub", "/da.ta/cube.cub"},
        {"cube.tar.gz", "cub", "cube.tar.cub"},
        {"cube.zip", "", "cube"},
    };
    for (const Case& c : cases) EXPECT_EQ(ReplaceFileExtension(c.name, c.ext), c.expected) << c.name;
}

TEST(Helpers, IsFileLocked) {
    cbtest::TempDir dir;
    const std::string path = dir.file("out.xls");
    EXPECT_FALSE(IsFileLocked(path));  // missing
    cbtest::writeFile(path, "x");
    EXPECT_FALSE(IsFileLocked(path));
    const int fd = ::open(path.c_str(), O_RDWR);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    EXPECT_TRUE(IsFileLocked(path));
    ::close(fd);
    EXPECT_FALSE(IsFileLocked(path));
    EXPECT_EQ(cbtest::readFile(path), "x");
}

namespace {
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls.append(url); }
};
}  // namespace

TEST(Helpers, ShellOpenTrimsAndHandsOverTheTarget) {
    cbtest::TempDir dir;
    const std::string report = dir.file("report file.html");
    cbtest::writeFile(report, "<html></html>");
    UrlRecorder rec;
    for (const char* scheme : {"http", "https", "file"}) QDesktopServices::setUrlHandler(scheme, &rec, "open");
    EXPECT_TRUE(ShellOpen("  http://www.example.com/page  "));
    EXPECT_TRUE(ShellOpen("\t" + report + "\n"));
    EXPECT_FALSE(ShellOpen("   "));
    EXPECT_FALSE(ShellOpen(dir.file("missing.html")));
    for (const char* scheme : {"http", "https", "file"}) QDesktopServices::unsetUrlHandler(scheme);
    ASSERT_EQ(rec.urls.size(), 2);
    EXPECT_EQ(rec.urls[0].toString().toStdString(), "http://www.example.com/page");
    EXPECT_EQ(rec.urls[1].toLocalFile().toStdString(), report);
}

#include "HelpersTest.moc"
