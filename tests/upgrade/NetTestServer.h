#pragma once
// The loopback HTTP server and proxy of the network tests (net_test_server.py),
// started once for the test program and stopped by its process id.
#include <string>

namespace cb::upgrade::test {

struct TNetTestServer {
    int Port = 0;
    int ProxyPort = 0;
    std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(Port) + path; }
};

// Starts the server on first use; fails the calling test when it cannot.
const TNetTestServer& NetServer();

}  // namespace cb::upgrade::test
