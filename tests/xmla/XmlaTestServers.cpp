#include "tests/xmla/XmlaTestServers.h"

#include "olap/xmla/XmlaProvider.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <netinet/in.h>
#include <poll.h>
#include <sstream>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace cbtest::xmla {

const char* const StubUser = "analyst";
const char* const StubPassword = "s3cret";

namespace {

namespace fs = std::filesystem;

// The program registers its server client at start-up; so do the programs
// that run against these servers.
const bool kXmlaRegistered = (cb::olap::xmla::RegisterProvider(), true);

// The jars the test OLAP server runs on, from Debian's packages (scripts/setup).
const char* const kJars[] = {
    "mondrian.jar",         "olap4j.jar",
    "jetty9-server.jar",    "jetty9-servlet.jar",
    "jetty9-http.jar",      "jetty9-io.jar",
    "jetty9-util.jar",      "jetty9-security.jar",
    "servlet-api.jar",      "xerial-sqlite-jdbc.jar",
    "log4j-1.2.jar",        "commons-collections3.jar",
    "eigenbase-xom.jar",    "eigenbase-properties.jar",
    "eigenbase-resgen.jar", "commons-dbcp.jar",
    "commons-pool.jar",     "commons-logging.jar",
    "commons-vfs2.jar",     "commons-math.jar",
    "commons-io.jar",       "java-cup-0.11b-runtime.jar",
};
const char* const kJarFolder = "/usr/share/java/";

std::string XmlText(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c == '"')
            out += "&quot;";
        else
            out += c;
    }
    return out;
}

bool OnPath(const std::string& program) {
    return runCommand("command -v " + program + " >/dev/null 2>&1") == 0;
}

// A child process whose stdin stays open until Stop (its signal to end
// when the test program dies) and whose first line of stdout says "PORT n".
class TChild {
public:
    // Starts argv; stderr goes to logFile. Returns the port, or 0 with
    // the reason in error.
    int Start(const std::vector<std::string>& argv, const std::string& logFile, int waitSeconds, std::string& error) {
        int out[2], in[2];
        if (::pipe(out) != 0 || ::pipe(in) != 0) {
            error = std::string("pipe: ") + std::strerror(errno);
            return 0;
        }
        FPid = ::fork();
        if (FPid == 0) {
            ::dup2(out[1], 1);
            ::dup2(in[0], 0);
            int log = ::open(logFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            if (log >= 0) ::dup2(log, 2);
            ::close(out[0]);
            ::close(in[1]);
            std::vector<char*> args;
            for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
            args.push_back(nullptr);
            ::execvp(args[0], args.data());
            std::fprintf(stderr, "cannot run %s: %s\n", args[0], std::strerror(errno));
            ::_exit(127);
        }
        ::close(out[1]);
        ::close(in[0]);
        FStdin = in[1];
        std::string line;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(waitSeconds);
        while (line.find('\n') == std::string::npos) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            pollfd p{out[0], POLLIN, 0};
            if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) {
                error = "it did not say its port within " + std::to_string(waitSeconds) + " seconds";
                break;
            }
            char buf[256];
            const ssize_t n = ::read(out[0], buf, sizeof buf);
            if (n <= 0) {
                error = "it ended before it said its port";
                break;
            }
            line.append(buf, static_cast<size_t>(n));
        }
        ::close(out[0]);
        int port = 0;
        if (error.empty() && std::sscanf(line.c_str(), "PORT %d", &port) != 1) error = "it said \"" + line + "\"";
        if (!error.empty()) {
            Stop();
            return 0;
        }
        return port;
    }
    void Stop() {
        if (FPid <= 0) return;
        ::close(FStdin);
        ::kill(FPid, SIGTERM);
        ::waitpid(FPid, nullptr, 0);
        FPid = -1;
    }

private:
    pid_t FPid = -1;
    int FStdin = -1;
};

std::string Log(const std::string& file) {
    try {
        std::string text = readFile(file);
        return text.size() > 4000 ? "..." + text.substr(text.size() - 4000) : text;
    } catch (...) {
        return {};
    }
}

// Compiles the launcher once into the build folder, under a name taken from
// its source and class path, so a changed launcher is compiled again.
std::string CompiledLauncher(const std::string& classPath, std::string& error) {
    const std::string source = std::string(CB_SOURCE_DIR) + "/tests/xmla/XmlaTestServer.java";
    std::string text = readFile(source) + classPath;
    std::uint64_t hash = 1469598103934665603ull;
    for (unsigned char c : text) hash = (hash ^ c) * 1099511628211ull;
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    const fs::path dir = fs::path(CB_XMLA_LAUNCHER_DIR) / hex;
    if (fs::exists(dir / "XmlaTestServer.class")) return dir.string();
    fs::create_directories(CB_XMLA_LAUNCHER_DIR);
    std::string tmp = (fs::path(CB_XMLA_LAUNCHER_DIR) / "tmp-XXXXXX").string();
    if (!::mkdtemp(tmp.data())) {
        error = "cannot create a folder in " + std::string(CB_XMLA_LAUNCHER_DIR);
        return {};
    }
    std::string output;
    const int rc = runCommand("javac -nowarn -cp '" + classPath + "' -d '" + tmp + "' '" + source + "' 2>&1", &output);
    if (rc != 0) {
        fs::remove_all(tmp);
        error = "javac failed: " + output;
        return {};
    }
    std::error_code ec;
    fs::rename(tmp, dir, ec);  // another test run may have been quicker
    if (ec) fs::remove_all(tmp);
    return dir.string();
}

void MakeDatabase(const std::string& file) {
    sqlite3* db = nullptr;
    if (sqlite3_open(file.c_str(), &db) != SQLITE_OK) throw std::runtime_error("cannot create " + file);
    char* message = nullptr;
    const std::string sql = readFile(std::string(CB_TEST_DATA_DIR) + "/xmla/shop.sql");
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
    std::string text = message ? message : "";
    sqlite3_free(message);
    sqlite3_close(db);
    if (rc != SQLITE_OK) throw std::runtime_error("shop.sql: " + text);
}

class TServers : public ::testing::Environment {
public:
    void StartShop() {
        if (FShopTried) return;
        FShopTried = true;
        try {
            if (!OnPath("java") || !OnPath("javac")) {
                FShopError = "Java is needed to run the test OLAP server, and java or javac is not installed "
                             "(scripts/setup installs openjdk-17-jdk-headless)";
                return;
            }
            std::string classPath;
            for (const char* jar : kJars) {
                const std::string path = std::string(kJarFolder) + jar;
                if (!fs::exists(path)) {
                    FShopError = "the test OLAP server needs " + path + ", which is missing (run scripts/setup)";
                    return;
                }
                classPath += path + ":";
            }
            std::string error;
            const std::string launcher = CompiledLauncher(classPath, error);
            if (launcher.empty()) {
                FShopError = "the test OLAP server's launcher did not compile: " + error;
                return;
            }
            const std::string folder = Folder();
            const std::string db = folder + "/shop.db";
            MakeDatabase(db);
            const std::string data = std::string(CB_TEST_DATA_DIR) + "/xmla/";
            std::ostringstream ds;
            ds << "<?xml version=\"1.0\"?>\n<DataSources><DataSource>"
               << "<DataSourceName>Provider=Mondrian;DataSource=Shop;</DataSourceName>"
               << "<DataSourceDescription>Shop</DataSourceDescription><URL>http://127.0.0.1/xmla</URL>"
               << "<DataSourceInfo>"
               << XmlText("Provider=mondrian;Jdbc=\"jdbc:sqlite:" + db + "\";JdbcDrivers=org.sqlite.JDBC")
               << "</DataSourceInfo><ProviderName>Mondrian</ProviderName><ProviderType>MDP</ProviderType>"
               << "<AuthenticationMode>Unauthenticated</AuthenticationMode><Catalogs>"
               << "<Catalog name=\"Shop\"><Definition>" << XmlText("file:" + data + "shop-schema.xml")
               << "</Definition></Catalog>"
               << "<Catalog name=\"Broken\"><Definition>" << XmlText("file:" + data + "broken-schema.xml")
               << "</Definition></Catalog></Catalogs></DataSource></DataSources>\n";
            writeFile(folder + "/datasources.xml", ds.str());
            const int port =
                FShop.Start({"java", "-XX:TieredStopAtLevel=1", "-XX:+UseSerialGC", "-Xss2m", "-cp",
                             classPath + launcher, "XmlaTestServer", "file:" + folder + "/datasources.xml"},
                            folder + "/server.log", 90, error);
            if (!port) {
                FShopError = "the test OLAP server did not start: " + error + "\n" + Log(folder + "/server.log");
                return;
            }
            FShopInfo.Address = "http://127.0.0.1:" + std::to_string(port) + "/xmla";
            FShopInfo.Folder = folder;
            // The same facts as a local cube.
            writeFile(folder + "/shop.cube", readFile(data + "shop.cube"));
            FShopInfo.LocalCube = folder + "/shop.cub";
            std::string output;
            if (runCommand(std::string("'") + CB_BIN_DIR + "/cubebuild' '" + folder + "/shop.cube' '" +
                               FShopInfo.LocalCube + "' 2>&1",
                           &output) != 0)
                FShopError = "cubebuild failed on the shop's facts: " + output;
        } catch (const std::exception& e) {
            FShopError = std::string("the test OLAP server could not be set up: ") + e.what();
        }
    }

    void StartStub() {
        if (FStubTried) return;
        FStubTried = true;
        std::string error;
        const int port = FStub.Start({"/usr/bin/python3", std::string(CB_SOURCE_DIR) + "/tests/xmla/xmla_stub.py"},
                                     Folder() + "/stub.log", 30, error);
        if (!port)
            FStubError = "the XMLA stub did not start: " + error + "\n" + Log(Folder() + "/stub.log");
        else
            FStubPort = port;
    }

    std::string Folder() {
        if (!FFolder) FFolder = std::make_unique<TempDir>();
        return FFolder->path().string();
    }

    void TearDown() override {
        FShop.Stop();
        FStub.Stop();
    }

    bool FShopTried = false, FStubTried = false;
    std::string FShopError, FStubError;
    TShopServer FShopInfo;
    int FStubPort = 0;

private:
    TChild FShop, FStub;
    std::unique_ptr<TempDir> FFolder;
};

TServers* GServers = static_cast<TServers*>(::testing::AddGlobalTestEnvironment(new TServers));

}  // namespace

const TShopServer& ShopServer() {
    GServers->StartShop();
    if (!GServers->FShopError.empty()) {
        ADD_FAILURE() << GServers->FShopError;
        throw std::runtime_error(GServers->FShopError);
    }
    return GServers->FShopInfo;
}

std::string StubAddress(const std::string& path) {
    GServers->StartStub();
    if (!GServers->FStubError.empty()) {
        ADD_FAILURE() << GServers->FStubError;
        throw std::runtime_error(GServers->FStubError);
    }
    return "http://127.0.0.1:" + std::to_string(GServers->FStubPort) + path;
}

std::string DownAddress() {
    // A port just freed: nothing listens there.
    int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    ::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
    const int port = ntohs(a.sin_port);
    ::close(s);
    return "http://127.0.0.1:" + std::to_string(port) + "/xmla";
}

std::string ScratchFolder() {
    static int n = 0;
    const std::string dir = GServers->Folder() + "/scratch" + std::to_string(++n);
    fs::create_directories(dir);
    return dir;
}

}  // namespace cbtest::xmla
