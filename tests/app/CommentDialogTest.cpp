// The comment dialog against the loopback HTTP server: the fields are
// checked, the form is posted URL-encoded, and every way a post can fail is
// told with its own text and leaves the dialog open.
#include "app/ui/dialogs/CommentDialog.h"
#include "app/core/publish/CommentForm.h"
#include "app/ui/dialogs/Features.h"
#include "grid/markup/MarkupLabel.h"
#include "tests/app/SmallWindowsSupport.h"
#include "tests/upgrade/NetTestServer.h"
#include "upgrade/NetHTTP.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace cb::app;
using cb::upgrade::test::NetServer;

namespace {

// What the server received last at "/cb/send_comments.php": the content
// type, a line break and the body.
std::string LastComment() {
    cb::upgrade::TNetHTTP http;
    http.SetWaitThread(true);
    http.UseCache = false;
    http.URL = NetServer().Url("/cb/last_comment");
    std::string text;
    http.OnDone = [&](cb::upgrade::TNetCustomHTTP&, const std::string&, std::int64_t, cb::rtl::TStream* s) {
        text.resize(static_cast<size_t>(s->Size()));
        s->SetPosition(0);
        if (!text.empty()) s->ReadBuffer(text.data(), text.size());
    };
    http.StartRequest();
    return text;
}

// A loopback port nobody listens on.
int ClosedPort() {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    ::close(fd);
    return ntohs(a.sin_port);
}

void Fill(TfrmSendComments& form, const char* name, const char* email, const char* comments) {
    form.editName->setText(QString::fromUtf8(name));
    form.editEmail->setText(QString::fromUtf8(email));
    form.memComments->setPlainText(QString::fromUtf8(comments));
}

}  // namespace

TEST(CommentDialog, PostsTheTypedFieldsEncoded) {
    cbtest::TSmallWindowsEnv env;
    env.Config->CommentHost = "127.0.0.1:" + std::to_string(NetServer().Port);
    TfrmSendComments form(env.Context(), "support@cubes.example.org");
    EXPECT_EQ(form.size(), QSize(440, 277));
    EXPECT_EQ(form.editName->maxLength(), 200);
    EXPECT_EQ(form.editEmail->maxLength(), 100);
    EXPECT_NE(form.lblInstructions->HTMLText().find(" You can also send your comments by email to: <a "
                                                    "href=\"mailto:support@cubes.example.org\">"),
              std::string::npos);
    form.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.editName->hasFocus(); }, 1000));
    QTest::keyClicks(form.editName, "Ann Lee");
    QTest::keyClick(&form, Qt::Key_Tab);
    QTest::keyClicks(form.editEmail, "ann@cubes.example.org");
    QTest::keyClick(&form, Qt::Key_Tab);
    QTest::keyClicks(form.memComments, "a=1&b=2 ");
    form.memComments->insertPlainText(QString::fromUtf8("\xC3\xA9t\xC3\xA9"));  // typed with a compose key
    cbtest::SaveScreenshot(form, "comment_dialog.png");
    QTest::mouseClick(form.btnSubmit, Qt::LeftButton);

    EXPECT_EQ(env.UI.Errors, std::vector<std::string>{});
    EXPECT_EQ(env.UI.Informations, std::vector<std::string>{"Comment sent successfully. Thank-you for your input."});
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(form.isEnabled());
    EXPECT_EQ(LastComment(), "application/x-www-form-urlencoded\nsName=Ann+Lee&sEmail=ann%40cubes.example.org&"
                             "sComments=a%3D1%26b%3D2+%C3%A9t%C3%A9");
}

TEST(CommentDialog, MissingFieldsAndFailedPostsKeepTheDialogOpen) {
    const std::string port = std::to_string(NetServer().Port);
    struct Case {
        const char* what;
        std::string host;
        const char *name, *email, *comments;
        std::string error;
    } cases[] = {
        {"an address without a dot and no comment", "127.0.0.1:" + port, "Ann", "ann@nodot", "",
         "Please enter the following fields before continuing:\r\r\r  - Your Email Address\r  - Comments"},
        {"no name", "127.0.0.1:" + port, "  ", "ann@cubes.example.org", "Hello",
         "Please enter the following fields before continuing:\r\r  - Your Name"},
        {"a 404 page", "http://127.0.0.1:" + port + "/missing", "Ann", "ann@cubes.example.org", "Hello",
         "Unable to process your request. Please try again."},
        {"a dropped connection", "http://127.0.0.1:" + port + "/drop", "Ann", "ann@cubes.example.org", "Hello",
         "The connection with the remote server was lost. Please try again"},
        {"no server", "127.0.0.1:" + std::to_string(ClosedPort()), "Ann", "ann@cubes.example.org", "Hello",
         "The Tavo Browser Server could not be reached. Please try again. If the problem persists please contact "
         "the email address found above."},
        {"no host", "", "Ann", "ann@cubes.example.org", "Hello",
         "Comments cannot be sent: no address is set for them. Set CommentHost in the AppSettings section of "
         "app.ini."},
    };
    for (const Case& c : cases) {
        cbtest::TSmallWindowsEnv env;
        env.Config->CommentHost = c.host;
        TfrmSendComments form(env.Context(), "");
        form.show();
        Fill(form, c.name, c.email, c.comments);
        EXPECT_FALSE(form.btnSubmitClick()) << c.what;
        EXPECT_EQ(env.UI.Errors, std::vector<std::string>{c.error}) << c.what;
        EXPECT_TRUE(env.UI.Informations.empty()) << c.what;
        EXPECT_TRUE(form.isVisible()) << c.what;
        EXPECT_TRUE(form.isEnabled()) << c.what;
        EXPECT_FALSE(form.Posting()) << c.what;
    }
}

TEST(CommentDialog, WithoutAnAddressTheCommandSaysSo) {
    cbtest::TSmallWindowsEnv env;
    TFeatureContext context{nullptr, nullptr, nullptr, env.Context()};
    ShowCommentDialog(context);  // returns at once: no dialog
    ASSERT_EQ(env.UI.Informations.size(), 1u);
    EXPECT_NE(env.UI.Informations[0].find("CommentHost"), std::string::npos);
}

TEST(CommentDialog, TheSupportMailIsOfferedAsAnEscapedLink) {
    cbtest::TSmallWindowsEnv env;
    TfrmSendComments plain(env.Context(), "");
    EXPECT_EQ(plain.lblInstructions->HTMLText().find("mailto:"), std::string::npos);

    TfrmSendComments form(env.Context(), "help@cubes.example.org\"><b>x</b>");
    const std::string& text = form.lblInstructions->HTMLText();
    EXPECT_NE(text.find("<a href=\"mailto:help@cubes.example.org&quot;&gt;&lt;b&gt;x&lt;/b&gt;\">"), std::string::npos)
        << text;
    EXPECT_EQ(text.find("<b>x"), std::string::npos);
}
