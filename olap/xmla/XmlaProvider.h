#pragma once
// Analysis servers over XMLA: the object model's catalog and statements
// answered by a server, and what the program needs to choose one (its
// catalogs and cubes).
//
// A server is named by an http:// or https:// address, or by host[:port],
// which means http://host:port/xmla. Requests are bounded in time and size;
// every failure is an EOlapError whose message names the server.
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace cb::olap {
class Provider;
}

namespace cb::olap::xmla {

// The address requests go to. Throws EOlapError for an empty name, another
// scheme than http and https, or an address that holds a password (the
// program asks for passwords instead, or they come from ~/.netrc).
std::string ServerAddress(const std::string& server);

// A session with the server's catalog (the server's first catalog when
// empty); its cubes are read here. Unless newSession, a session to the same
// address and catalog that is still in use is shared.
std::shared_ptr<Provider> OpenServer(const std::string& server, const std::string& catalog, bool newSession);

// Makes this client answer the object model's server connection strings.
void RegisterProvider();

std::vector<std::string> ListCatalogs(const std::string& server);
std::vector<std::string> ListCubes(const std::string& server, const std::string& catalog);

struct ServerLimits {
    long connectTimeoutMs = 10000;
    long discoverTimeoutMs = 60000;  // reading what the server holds
    long executeTimeoutMs = 300000;  // a query
    size_t maxAnswerBytes = size_t(512) << 20;           // an Execute answer (cells)
    size_t maxDiscoverAnswerBytes = size_t(32) << 20;  // a Discover answer (what the server holds)
};
ServerLimits GetServerLimits();
void SetServerLimits(const ServerLimits& limits);

// Asked when a server wants a user name and password (HTTP 401): fills
// both and answers true to try again, false to give up. Called on the
// thread that made the request. The answer is kept in memory for the
// server's address only, never written anywhere.
using PasswordRequest =
    std::function<bool(const std::string& server, const std::string& realm, std::string& user, std::string& password)>;
void SetPasswordRequest(PasswordRequest request);
// Drops the user names and passwords kept so far.
void ForgetPasswords();

}  // namespace cb::olap::xmla
