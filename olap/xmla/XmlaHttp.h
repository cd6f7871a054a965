#pragma once
// One HTTP POST over libcurl, on the calling thread, within bounded time and
// size. The answer's body is read as it arrives: the transfer holds at most
// a few hundred KB of it at a time.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace cb::olap::xmla {

struct HttpLimits {
    long connectTimeoutMs = 10000;
    long totalTimeoutMs = 120000;  // the whole request, answer included
    size_t maxAnswerBytes = size_t(512) << 20;
};

// Posts body to url with the given header lines. user and password go to
// the server when the user is not empty; else ~/.netrc is used when it
// names the host. Errors are EOlapError without naming the server (the
// caller does): the constructor's when no answer arrived, Read's when the
// answer did not arrive whole.
class HttpStream {
public:
    // Sends the request and waits for the answer's status and its first
    // bytes (or its end).
    HttpStream(const std::string& url, const std::vector<std::string>& headers, const std::string& body,
               const std::string& user, const std::string& password, const HttpLimits& limits);
    ~HttpStream();
    HttpStream(const HttpStream&) = delete;
    HttpStream& operator=(const HttpStream&) = delete;

    long Status() const { return FStatus; }
    const std::string& ContentType() const { return FContentType; }
    const std::string& Authenticate() const { return FAuthenticate; }  // of a 401 answer
    // The body received and not yet read (its first bytes until the first Read).
    std::string_view Head() const { return FPending; }
    // True once the whole answer has arrived.
    bool Ended() const { return FEnded; }

    // The next piece of the body in piece; false at its end.
    bool Read(std::string& piece);

private:
    static size_t OnHeader(char* data, size_t size, size_t count, void* user);
    static size_t OnBody(char* data, size_t size, size_t count, void* user);
    // Moves the transfer on until a piece of body is waiting or it ended;
    // throws when it ended in an error.
    void Wait();
    void Finish(int code);
    void Close();

    void* FMulti = nullptr;
    void* FEasy = nullptr;
    void* FHeaderList = nullptr;
    HttpLimits FLimits;
    char FErrors[256] = {0};
    std::string FRequest;
    long FStatus = 0;
    std::string FContentType, FAuthenticate;
    std::string FPending;
    size_t FHeaderBytes = 0, FBodyBytes = 0;
    bool FTooLarge = false, FPaused = false, FEnded = false;
};

}  // namespace cb::olap::xmla
