#pragma once
// TNetHTTP: one HTTP or HTTPS request at a time on a worker thread, over
// libcurl. Headers, progress and the outcome arrive through events on the
// user-interface thread; one StartRequest leads to at most one of OnDone,
// OnConnLost, OnHTTPError, OnHostUnreachable, OnDoneInterrupted (none after
// Abort).
//
// Success means a 2xx status and a complete body. Redirects are followed (at
// most 10, http and https only). A body goes to OutputFileName when one is
// given (written beside it and renamed into place when complete), else to
// memory, at most MaxMemorySize bytes.
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/StringList.h"
#include "upgrade/NetThread.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace cb::upgrade {

// Keeps the user name and password (at most 255 characters each).
class TNetLoginComponent {
public:
    virtual ~TNetLoginComponent() = default;
    virtual std::string GetUsername() const { return FUsername; }
    virtual void SetUsername(const std::string& Value) { FUsername = Value.substr(0, 255); }
    virtual std::string GetPassword() const { return FPassword; }
    virtual void SetPassword(const std::string& Value) { FPassword = Value.substr(0, 255); }

private:
    std::string FUsername;
    std::string FPassword;
};

enum class TNetHTTPAccessType {
    atPreconfig,
    atDirect,
    atUseProxy
};
enum class TNetHTTPRequestMethod {
    rmAutoDetect,
    rmGET,
    rmPOST
};

struct TNetHTTPProxy {
    TNetHTTPAccessType AccessType = TNetHTTPAccessType::atPreconfig;
    int ProxyPort = 8080;
    std::string ProxyServer;
    std::string ProxyBypass = "127.0.0.1;";
};

struct TNetHTTPRange {
    std::int64_t StartRange = 0;
    std::int64_t EndRange = 0;
};

class TNetCustomHTTP : public TNetLoginComponent {
public:
    using TStream = cb::rtl::TStream;
    using TDateTime = cb::rtl::TDateTime;

    TNetCustomHTTP();
    ~TNetCustomHTTP() override;

    // Starts the request unless one runs (false then). With WaitThread set it
    // returns after the request and all its events have run.
    bool StartRequest();
    bool IsBusy() const;
    // Stops a running request at once (OnAborted); no other event follows.
    void Abort();

    std::string URLHost() const;
    std::string URLFileName() const;

    // Settings (copied when a request starts).
    cb::rtl::TStringList AddHeaders;
    std::string AcceptTypes = "text/html, */*";
    std::string Agent = "CubeBrowser HTTP client";
    std::string OutputFileName;
    bool HideOutputFile = false;  // no hidden files here; kept for callers
    std::string URL;
    std::string POSTData;
    std::string Referer;
    bool UseCache = true;
    bool UseCookies = true;
    bool WorkOffline = false;
    TNetHTTPRange Range;
    int TransferBufferSize = 4096;  // 255 .. 2147483647
    TNetHTTPRequestMethod RequestMethod = TNetHTTPRequestMethod::rmAutoDetect;
    TNetHTTPProxy Proxy;
    int ConnectTimeoutSeconds = 15;
    // A transfer slower than one byte a second for this long fails.
    int LowSpeedTimeSeconds = 60;
    std::int64_t MaxMemorySize = 256ll * 1024 * 1024;

    TThreadPriority ThreadPriority() const { return FThread.Priority(); }
    void SetThreadPriority(TThreadPriority Value) { FThread.SetPriority(Value); }
    bool WaitThread() const { return FThread.WaitThread(); }
    void SetWaitThread(bool Value) { FThread.SetWaitThread(Value); }

    // Filled by the proxy authentication handler for the retry.
    std::string ProxyUsername;
    std::string ProxyPassword;

    // The answer, valid from OnHeaderInfo on.
    int StatusCode() const { return FStatus; }

    // Events, all on the user-interface thread. A stream handed to an event
    // lives only during the event.
    std::function<void(TNetCustomHTTP& Sender, const std::string& RawHeadersCRLF, const std::string& ContentType,
                       const std::string& ContentLanguage, const std::string& ContentEncoding,
                       std::int64_t ContentLength, TDateTime Date, TDateTime LastModified, TDateTime Expires,
                       bool& ContinueDownload)>
        OnHeaderInfo;
    std::function<void(TNetCustomHTTP& Sender, const std::string& ContentType, std::int64_t DataSize,
                       std::int64_t BytesRead, int ElapsedTime, int EstimatedTimeLeft, std::uint8_t PercentsDone,
                       float TransferRate, TStream* Stream)>
        OnProgress;
    std::function<void(TNetCustomHTTP& Sender, const std::string& ContentType, std::int64_t FileSize, TStream* Stream)>
        OnDone;
    std::function<void(TNetCustomHTTP& Sender)> OnDoneInterrupted;
    std::function<void(TNetCustomHTTP& Sender, const std::string& ContentType, std::int64_t FileSize,
                       std::int64_t BytesRead, TStream* Stream)>
        OnConnLost;
    std::function<void(TNetCustomHTTP& Sender, int ErrorCode, TStream* Stream)> OnHTTPError;
    std::function<void(TNetCustomHTTP& Sender)> OnHostUnreachable;
    std::function<void(TNetCustomHTTP& Sender)> OnAnyError;
    std::function<void(TNetCustomHTTP& Sender)> OnAborted;
    std::function<void(TNetCustomHTTP& Sender, const std::string& Realm, bool& TryAgain)> OnPasswordRequest;
    std::function<void(TNetCustomHTTP& Sender, std::string& ProxyUsername, std::string& ProxyPassword, bool& TryAgain)>
        OnProxyAuthenticationRequest;

    // What the last request ended with, for callers and logs ("" on success).
    const std::string& LastError() const { return FLastError; }
    // The output file of the last request could not be created.
    bool LastOutputFailed() const { return FOutputFailed; }
    // Where the last request ended up after redirects.
    const std::string& EffectiveURL() const { return FEffectiveURL; }

    struct TRequest;

private:
    void FinishDispatch();

    TNetCustomThread FThread;
    std::shared_ptr<TRequest> FRequest;
    int FStatus = -1;
    std::string FLastError;
    bool FOutputFailed = false;
    std::string FEffectiveURL;
};

// The component as the application uses it.
class TNetHTTP : public TNetCustomHTTP {};

// The realm of a WWW-Authenticate value: the quoted string after "realm=",
// the whole value when there is none, "" for an empty value.
std::string ParseRealm(const std::string& Value);

}  // namespace cb::upgrade
