#pragma once
// One HTTP POST over libcurl, on the calling thread, within bounded time and
// size.
#include <cstddef>
#include <string>
#include <vector>

namespace cb::olap::xmla {

struct HttpLimits {
    long connectTimeoutMs = 10000;
    long totalTimeoutMs = 120000;  // the whole request, answer included
    size_t maxAnswerBytes = size_t(512) << 20;
};

struct HttpAnswer {
    long status = 0;
    std::string contentType;
    std::string body;
    std::string authenticate;  // the WWW-Authenticate header of a 401 answer
};

// Posts body to url with the given header lines. user and password go to
// the server when the user is not empty; else ~/.netrc is used when it
// names the host. Throws EOlapError (without naming the server: the caller
// does) when no complete answer arrived.
HttpAnswer HttpPost(const std::string& url, const std::vector<std::string>& headers, const std::string& body,
                    const std::string& user, const std::string& password, const HttpLimits& limits);

}  // namespace cb::olap::xmla
