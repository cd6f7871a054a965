// The HTTP client against the loopback server: each answer the server can
// give, and the events it must fire, in order.
#include "upgrade/NetHTTP.h"
#include "tests/upgrade/NetTestServer.h"
#include "upgrade/NetUtils.h"

#include "platform/rtl/FileIO.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace cb::upgrade;
using cb::upgrade::test::NetServer;

namespace {

std::string StreamText(cb::rtl::TStream* s) {
    if (!s) return "<none>";
    std::string text(static_cast<size_t>(s->Size()), '\0');
    s->SetPosition(0);
    if (!text.empty()) s->ReadBuffer(text.data(), text.size());
    return text;
}

// Records the events of one component as short texts.
struct TRecorder {
    std::vector<std::string> Events;
    bool SawProgress = false;
    cb::rtl::TDateTime LastModified = 0;

    void Attach(TNetHTTP& http) {
        http.OnHeaderInfo = [this](TNetCustomHTTP& h, const std::string&, const std::string&, const std::string&,
                                   const std::string&, std::int64_t, cb::rtl::TDateTime, cb::rtl::TDateTime lm,
                                   cb::rtl::TDateTime, bool&) {
            LastModified = lm;
            Events.push_back("header:" + std::to_string(h.StatusCode()));
        };
        http.OnProgress = [this](TNetCustomHTTP&, const std::string&, std::int64_t, std::int64_t, int, int,
                                 std::uint8_t, float, cb::rtl::TStream*) {
            if (!SawProgress) Events.push_back("progress");
            SawProgress = true;
        };
        http.OnDone = [this](TNetCustomHTTP&, const std::string&, std::int64_t size, cb::rtl::TStream* s) {
            Events.push_back("done:" + std::to_string(size) + ":" + StreamText(s));
        };
        http.OnConnLost = [this](TNetCustomHTTP&, const std::string&, std::int64_t size, std::int64_t read,
                                 cb::rtl::TStream*) {
            Events.push_back("connlost:" + std::to_string(size) + ":" + std::to_string(read));
        };
        http.OnHTTPError = [this](TNetCustomHTTP&, int code, cb::rtl::TStream* s) {
            Events.push_back("httperror:" + std::to_string(code) + ":" + StreamText(s));
        };
        http.OnHostUnreachable = [this](TNetCustomHTTP&) { Events.push_back("unreachable"); };
        http.OnAnyError = [this](TNetCustomHTTP&) { Events.push_back("anyerror"); };
        http.OnDoneInterrupted = [this](TNetCustomHTTP&) { Events.push_back("interrupted"); };
        http.OnAborted = [this](TNetCustomHTTP&) { Events.push_back("aborted"); };
    }
    std::string Joined() const {
        std::string out;
        for (const auto& e : Events) out += (out.empty() ? "" : " | ") + e;
        return out;
    }
};

void Pump(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

int ClosedPort() {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t len = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    ::close(fd);
    return ntohs(a.sin_port);
}

}  // namespace

TEST(NetHTTP, AnswersAndTheirEvents) {
    const auto& server = NetServer();
    struct Case {
        std::string path;
        std::string events;
    } cases[] = {
        {"/hello", "header:200 | progress | done:11:hello world"},
        {"/404", "header:404 | progress | anyerror | httperror:404:not here"},
        {"/302", "header:200 | progress | done:11:hello world"},
        {"/chunked", "header:200 | progress | done:8:abcdefgh"},
        {"/chunked-truncated", "header:200 | progress | anyerror | connlost:0:8"},
        {"/close", "header:200 | progress | done:5000:" + std::string(5000, 'x')},
        {"/close-truncated", "header:200 | progress | anyerror | connlost:0:5000"},
        {"/truncated", "header:200 | progress | anyerror | connlost:100:50"},
        {"/nolength", "header:200 | progress | done:3000:" + std::string(3000, 'n')},
        // a Content-Length beyond what memory may hold is refused before reading
        {"/huge", "header:200 | anyerror | connlost:100000000000:0"},
        // redirects go to http and https only
        {"/to-file-scheme", "anyerror | httperror:302:<none>"},
    };
    for (const auto& c : cases) {
        TNetHTTP http;
        TRecorder rec;
        rec.Attach(http);
        http.URL = server.Url(c.path);
        http.SetWaitThread(true);
        ASSERT_TRUE(http.StartRequest());
        EXPECT_EQ(rec.Joined(), c.events) << c.path << " (" << http.LastError() << ")";
    }
}

TEST(NetHTTP, UnreachableHostAndBusyComponent) {
    TNetHTTP http;
    TRecorder rec;
    rec.Attach(http);
    http.URL = "127.0.0.1:" + std::to_string(ClosedPort()) + "/x";  // no scheme: http:// is assumed
    http.SetWaitThread(true);
    ASSERT_TRUE(http.StartRequest());
    EXPECT_EQ(rec.Joined(), "anyerror | unreachable");

    http.SetWaitThread(false);
    http.URL = NetServer().Url("/slow");
    ASSERT_TRUE(http.StartRequest());
    EXPECT_FALSE(http.StartRequest());  // one request at a time
    http.Abort();
}

TEST(NetHTTP, RequestShape) {
    const auto& server = NetServer();
    struct Case {
        std::string path, post;
        std::int64_t start, end;
        bool cache;
        std::vector<std::string> bodyHas, bodyHasNot;
    } cases[] = {
        {"/headers", "", 100, 0, true, {"Range: bytes=100-\n", "Accept: text/html, */*"}, {"no-cache"}},
        {"/headers", "", 0, 0, false, {"Cache-Control: no-cache", "Pragma: no-cache"}, {"Range"}},
        {"/headers", "", 5, 9, true, {"Range: bytes=5-9\n"}, {}},
        {"/echo",
         "sName=Ann+Lee&sEmail=a%40b.example",
         0,
         0,
         true,
         {"application/x-www-form-urlencoded\nsName=Ann+Lee&sEmail=a%40b.example"},
         {}},
    };
    for (const auto& c : cases) {
        TNetHTTP http;
        std::string body;
        http.OnDone = [&](TNetCustomHTTP&, const std::string&, std::int64_t, cb::rtl::TStream* s) {
            body = StreamText(s);
        };
        http.URL = server.Url(c.path);
        http.POSTData = c.post;
        http.Range.StartRange = c.start;
        http.Range.EndRange = c.end;
        http.UseCache = c.cache;
        http.SetWaitThread(true);
        http.StartRequest();
        for (const auto& s : c.bodyHas)
            EXPECT_NE(body.find(s), std::string::npos) << c.path << ": " << s << "\n" << body;
        for (const auto& s : c.bodyHasNot) EXPECT_EQ(body.find(s), std::string::npos) << c.path << ": " << s;
    }
}

TEST(NetHTTP, RangesAnsweredOrIgnored) {
    for (std::string path : {"/range", "/range-ignored"}) {
        TNetHTTP http;
        std::string body;
        int status = 0;
        http.OnDone = [&](TNetCustomHTTP& h, const std::string&, std::int64_t, cb::rtl::TStream* s) {
            body = StreamText(s);
            status = h.StatusCode();
        };
        http.URL = NetServer().Url(path);
        http.Range.StartRange = 100;
        http.SetWaitThread(true);
        http.StartRequest();
        if (path == "/range") {
            EXPECT_EQ(status, 206);
            ASSERT_EQ(body.size(), 924u);
            EXPECT_EQ(static_cast<unsigned char>(body[0]), 100);
        } else {
            EXPECT_EQ(status, 200);  // the caller sees from the status that the whole file came
            EXPECT_EQ(body.size(), 1024u);
        }
    }
}

TEST(NetHTTP, PasswordRequestAndRetry) {
    {
        TNetHTTP http;
        TRecorder rec;
        rec.Attach(http);
        std::string realm;
        http.OnPasswordRequest = [&](TNetCustomHTTP& h, const std::string& r, bool& again) {
            realm = r;
            rec.Events.push_back("password");
            h.SetUsername("u");
            h.SetPassword("p");
            again = true;
        };
        http.URL = NetServer().Url("/auth");
        http.SetWaitThread(true);
        http.StartRequest();
        EXPECT_EQ(realm, "Cube \"Test\" Realm");
        EXPECT_EQ(rec.Joined(), "password | header:200 | progress | done:6:secret");
    }
    {
        TNetHTTP http;  // no handler: the 401 is reported like any other status
        TRecorder rec;
        rec.Attach(http);
        http.URL = NetServer().Url("/auth");
        http.SetWaitThread(true);
        http.StartRequest();
        EXPECT_EQ(rec.Joined(), "header:401 | progress | anyerror | httperror:401:login first");
    }
    {
        TNetHTTP http;  // a handler that keeps saying "again" with wrong credentials ends
        TRecorder rec;
        rec.Attach(http);
        int asked = 0;
        http.OnPasswordRequest = [&](TNetCustomHTTP& h, const std::string&, bool& again) {
            ++asked;
            h.SetUsername("u");
            h.SetPassword("wrong");
            again = true;
        };
        http.URL = NetServer().Url("/auth");
        http.SetWaitThread(true);
        http.StartRequest();
        EXPECT_LE(asked, 6);
        EXPECT_EQ(rec.Events.back(), "httperror:401:login first");
    }
}

TEST(NetHTTP, ProxyWithAuthentication) {
    TNetHTTP http;
    TRecorder rec;
    rec.Attach(http);
    http.Proxy.AccessType = TNetHTTPAccessType::atUseProxy;
    http.Proxy.ProxyServer = "127.0.0.1";
    http.Proxy.ProxyPort = NetServer().ProxyPort;
    http.Proxy.ProxyBypass = "";  // the default bypasses 127.0.0.1
    http.OnProxyAuthenticationRequest = [&](TNetCustomHTTP&, std::string& user, std::string& pass, bool& again) {
        rec.Events.push_back("proxyauth");
        user = "pu";
        pass = "pp";
        again = true;
    };
    http.URL = NetServer().Url("/hello");
    http.SetWaitThread(true);
    http.StartRequest();
    ASSERT_EQ(rec.Events.size(), 4u) << rec.Joined();
    EXPECT_EQ(rec.Events[0], "proxyauth");
    EXPECT_EQ(rec.Events[3].rfind("done:", 0), 0u);
    EXPECT_NE(rec.Events[3].find("hello world via proxy"), std::string::npos);
}

TEST(NetHTTP, HeaderInfoCanStopTheDownload) {
    TNetHTTP http;
    TRecorder rec;
    rec.Attach(http);
    http.OnHeaderInfo = [&](TNetCustomHTTP&, const std::string&, const std::string&, const std::string&,
                            const std::string&, std::int64_t, cb::rtl::TDateTime, cb::rtl::TDateTime lm,
                            cb::rtl::TDateTime, bool& cont) {
        rec.LastModified = lm;
        cont = false;
    };
    http.URL = NetServer().Url("/hello");
    http.SetWaitThread(true);
    http.StartRequest();
    EXPECT_EQ(rec.Joined(), "interrupted");
    EXPECT_NEAR(rec.LastModified, ParseHTTPDate("Tue, 15 Nov 1994 08:12:31 GMT"), 1e-9);
    EXPECT_GT(rec.LastModified, 34000.0);
}

TEST(NetHTTP, OutputFiles) {
    auto dir = std::filesystem::temp_directory_path() / ("cb-net-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    auto file = (dir / "out.txt").string();
    struct Case {
        std::string path, target, events, content;
    } cases[] = {
        // bodies with and without a length go to the file
        {"/hello", file, "done:11:<none>", "hello world"},
        {"/nolength", file, "done:3000:<none>", std::string(3000, 'n')},
        // a broken download leaves what was there
        {"/truncated", file, "anyerror | connlost:100:50", std::string(3000, 'n')},
        {"/404", file, "anyerror | httperror:404:not here", std::string(3000, 'n')},
        // a file that cannot be created ends with an error alone
        {"/hello", (dir / "missing" / "out.txt").string(), "anyerror", ""},
    };
    for (const auto& c : cases) {
        TNetHTTP http;
        TRecorder rec;
        rec.Attach(http);
        http.OnHeaderInfo = nullptr;
        http.OnProgress = nullptr;
        http.URL = NetServer().Url(c.path);
        http.OutputFileName = c.target;
        http.SetWaitThread(true);
        http.StartRequest();
        EXPECT_EQ(rec.Joined(), c.events) << c.path;
        if (!c.content.empty()) {
            std::ifstream in(c.target, std::ios::binary);
            std::string got((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            EXPECT_EQ(got, c.content) << c.path;
        }
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1) << "temporary files left behind";
    std::filesystem::remove_all(dir);
}

TEST(NetHTTP, AbortAndDestroyWhileRunning) {
    {
        TNetHTTP http;
        TRecorder rec;
        rec.Attach(http);
        http.URL = NetServer().Url("/slow");
        ASSERT_TRUE(http.StartRequest());
        QElapsedTimer t;
        t.start();
        while (!rec.SawProgress && t.elapsed() < 5000) Pump(10);
        ASSERT_TRUE(rec.SawProgress);
        http.Abort();
        EXPECT_FALSE(http.IsBusy());
        Pump(300);
        EXPECT_EQ(rec.Joined(), "header:200 | progress | aborted");
    }
    {
        TRecorder rec;
        auto http = std::make_unique<TNetHTTP>();
        rec.Attach(*http);
        http->URL = NetServer().Url("/slow");
        http->StartRequest();
        Pump(250);
        http.reset();  // the worker is abandoned: no event reaches the freed component
        size_t seen = rec.Events.size();
        Pump(300);
        EXPECT_EQ(rec.Events.size(), seen);
    }
    EXPECT_TRUE(TNetCustomThread::WaitForWorkers(5000));
}
