#include "olap/xmla/XmlaSession.h"

#include "olap/xmla/XmlaHttp.h"
#include "olap/xmla/XmlaProvider.h"
#include "platform/rtl/Strings.h"

#include <map>
#include <mutex>

namespace cb::olap::xmla {

namespace {

struct Credentials {
    std::string user, password;
};

std::mutex gLock;
ServerLimits gLimits;
PasswordRequest gPasswordRequest;
std::map<std::string, Credentials> gCredentials;  // by address; in memory only

constexpr int kMaxPasswordTries = 3;

// The realm of a WWW-Authenticate value ("" when it names none).
std::string RealmOf(const std::string& value) {
    const size_t p = cb::rtl::LowerCase(value).find("realm=");
    if (p == std::string::npos) return {};
    size_t i = p + 6;
    if (i >= value.size() || value[i] != '"') return value.substr(i, value.find_first_of(", ", i) - i);
    std::string realm;
    for (++i; i < value.size() && value[i] != '"'; ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) ++i;
        realm += value[i];
    }
    return realm;
}

bool LooksLikeHtml(const HttpStream& a) {
    if (cb::rtl::LowerCase(a.ContentType()).find("html") != std::string::npos) return true;
    std::string head = cb::rtl::LowerCase(std::string(a.Head().substr(0, 256)));
    head.erase(0, head.find_first_not_of(" \t\r\n"));
    return head.rfind("<!doctype html", 0) == 0 || head.rfind("<html", 0) == 0;
}

}  // namespace

ServerLimits GetServerLimits() {
    std::lock_guard guard(gLock);
    return gLimits;
}

void SetServerLimits(const ServerLimits& limits) {
    std::lock_guard guard(gLock);
    gLimits = limits;
}

void SetPasswordRequest(PasswordRequest request) {
    std::lock_guard guard(gLock);
    gPasswordRequest = std::move(request);
}

void ForgetPasswords() {
    std::lock_guard guard(gLock);
    gCredentials.clear();
}

Session::Session(const std::string& server, std::string catalog)
    : FAddress(ServerAddress(server)), FCatalog(std::move(catalog)) {}

void Session::Fail(const std::string& what) const {
    throw EOlapError("The analysis server " + FAddress + " " + what);
}

Pairs Session::Properties(bool execute, bool inCatalog) const {
    Pairs p;
    if (inCatalog && !FCatalog.empty()) p.emplace_back("Catalog", FCatalog);
    if (execute) {
        p.emplace_back("Format", "Multidimensional");
        p.emplace_back("AxisFormat", "TupleFormat");
    } else {
        p.emplace_back("Format", "Tabular");
    }
    p.emplace_back("Content", "Data");
    return p;
}

std::unique_ptr<HttpStream> Session::Post(const std::string& action, const std::string& body, long timeoutMs) {
    const ServerLimits limits = GetServerLimits();
    HttpLimits http;
    http.connectTimeoutMs = limits.connectTimeoutMs;
    http.totalTimeoutMs = timeoutMs;
    // What a server holds is described in far less than a query's cells.
    http.maxAnswerBytes = action == "Discover" ? limits.maxDiscoverAnswerBytes : limits.maxAnswerBytes;
    const std::vector<std::string> headers = {"Content-Type: text/xml; charset=utf-8",
                                              "SOAPAction: \"urn:schemas-microsoft-com:xml-analysis:" + action + "\"",
                                              "Accept: text/xml, application/xml"};
    for (int attempt = 0;; ++attempt) {
        Credentials credentials;
        {
            std::lock_guard guard(gLock);
            auto it = gCredentials.find(FAddress);
            if (it != gCredentials.end()) credentials = it->second;
        }
        std::unique_ptr<HttpStream> answer;
        try {
            answer =
                std::make_unique<HttpStream>(FAddress, headers, body, credentials.user, credentials.password, http);
        } catch (const EOlapError& e) {
            Fail(e.Message());
        }
        const long status = answer->Status();
        if (status == 401) {
            PasswordRequest ask;
            {
                std::lock_guard guard(gLock);
                ask = gPasswordRequest;
            }
            Credentials given{credentials.user, {}};
            if (attempt >= kMaxPasswordTries || !ask ||
                !ask(FAddress, RealmOf(answer->Authenticate()), given.user, given.password))
                Fail(credentials.user.empty() ? "asks for a user name and password (HTTP 401)"
                                              : "did not accept the user name and password (HTTP 401)");
            std::lock_guard guard(gLock);
            gCredentials[FAddress] = std::move(given);
            continue;
        }
        if (status == 407) Fail("is behind a proxy that asks for a password (HTTP 407)");
        if (LooksLikeHtml(*answer))
            Fail("answered with a web page (HTTP " + std::to_string(status) +
                 "), not with XMLA: is this the address of the server's XMLA service?");
        // Faults may come with 500 as well as with 200.
        if (status != 200 && status != 500)
            Fail("answered HTTP " + std::to_string(status) + " instead of an XMLA answer");
        if (answer->Ended() && answer->Head().find_first_not_of(" \t\r\n") == std::string::npos)
            Fail("sent an empty answer (HTTP " + std::to_string(status) + ")");
        return answer;
    }
}

// Answers are read as they arrive: the reader holds what it has read, never
// the whole answer.
template <class Result>
Result Session::Read(std::unique_ptr<HttpStream> answer, Result (*read)(const AnswerSource&, const ReadLimits&)) {
    try {
        return read([&answer](std::string& piece) { return answer->Read(piece); }, ReadLimits());
    } catch (const EXmlaFault& e) {
        Fail("reports: " + e.Message());
    } catch (const EOlapError& e) {
        Fail(e.Message());
    }
}

Rowset Session::Discover(const std::string& requestType, const Pairs& restrictions, bool inCatalog) {
    return Read<Rowset>(Post("Discover", DiscoverRequest(requestType, restrictions, Properties(false, inCatalog)),
                             GetServerLimits().discoverTimeoutMs),
                        &ReadRowset);
}

DataSet Session::Execute(const std::string& statement) {
    return Read<DataSet>(
        Post("Execute", ExecuteRequest(statement, Properties(true, true)), GetServerLimits().executeTimeoutMs),
        &ReadDataSet);
}

void Session::ResolveCatalog() {
    Rowset catalogs = Discover("DBSCHEMA_CATALOGS", {}, false);
    if (FCatalog.empty()) {
        if (catalogs.empty()) Fail("has no catalogs");
        FCatalog = catalogs.front().Get("CATALOG_NAME");
        return;
    }
    for (const Row& r : catalogs)
        if (r.Get("CATALOG_NAME") == FCatalog) return;
    Fail("has no catalog \"" + FCatalog + "\"");
}

std::string ServerAddress(const std::string& server) {
    std::string s = server;
    s.erase(0, s.find_first_not_of(" \t"));
    s.erase(s.find_last_not_of(" \t") + 1);
    if (s.empty()) throw EOlapError("No analysis server is named");
    if (s.find_first_of("\r\n") != std::string::npos)
        throw EOlapError("The analysis server's address \"" + s + "\" holds a line break");
    const size_t scheme = s.find("://");
    if (scheme == std::string::npos) return "http://" + s + (s.find('/') == std::string::npos ? "/xmla" : "");
    const std::string name = cb::rtl::LowerCase(s.substr(0, scheme));
    if (name != "http" && name != "https")
        throw EOlapError("The analysis server's address \"" + s + "\" is not an http:// or https:// address");
    // user:password@ before the host
    const size_t hostStart = scheme + 3;
    const size_t hostEnd = s.find_first_of("/?#", hostStart);
    const std::string authority =
        s.substr(hostStart, hostEnd == std::string::npos ? std::string::npos : hostEnd - hostStart);
    const size_t at = authority.rfind('@');
    if (at != std::string::npos && authority.substr(0, at).find(':') != std::string::npos)
        throw EOlapError("The analysis server's address holds a password; leave it out: the program asks for it, or "
                         "reads it from ~/.netrc");
    return s;
}

}  // namespace cb::olap::xmla
