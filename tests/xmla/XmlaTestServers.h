#pragma once
// The servers of the XMLA tests, each started once per test program on first
// use, on 127.0.0.1 and a free port, and stopped by process id at the end:
// the test OLAP server over the shop's star schema (tests/data/xmla), and a
// stub that misbehaves in one way per path (xmla_stub.py).
#include <string>

namespace cbtest::xmla {

struct TShopServer {
    std::string Address;    // http://127.0.0.1:<port>/xmla
    std::string LocalCube;  // the same facts as a local cube file (cubebuild)
    std::string Folder;     // where the data and the server's log are
};

// The running test OLAP server with catalogs "Shop" (cube "Sales") and
// "Broken" (a schema naming a column its table lacks). A server that cannot
// start fails the calling test with the reason (Java missing, a jar
// missing, the server's own output).
const TShopServer& ShopServer();

// The stub's address for a path ("/fault"); failing like ShopServer.
std::string StubAddress(const std::string& path);
// The stub's user name and password for "/login".
extern const char* const StubUser;
extern const char* const StubPassword;

// A loopback address where nothing listens.
std::string DownAddress();

// The folder of a fresh temporary copy of nothing (removed at exit).
std::string ScratchFolder();

}  // namespace cbtest::xmla
