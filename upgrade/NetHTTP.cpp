#include "upgrade/NetHTTP.h"
#include "platform/rtl/Strings.h"

#include "upgrade/NetUtils.h"

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <exception>
#include <map>
#include <mutex>

namespace cb::upgrade {

namespace {

constexpr int kMaxAuthRetries = 5;
constexpr std::size_t kMaxHeaderBytes = 1u << 20;

// A header line may not carry line breaks into the request.
std::string OneLine(std::string s) {
    s.erase(std::remove_if(s.begin(), s.end(), [](char c) { return c == '\r' || c == '\n' || c == '\0'; }), s.end());
    return s;
}

struct TSlist {
    curl_slist* List = nullptr;
    ~TSlist() { curl_slist_free_all(List); }
    void Add(const std::string& line) {
        if (auto* l = curl_slist_append(List, line.c_str())) List = l;
    }
};

}  // namespace

std::string ParseRealm(const std::string& Value) {
    auto lower = cb::rtl::LowerCase(Value);
    auto p = lower.find("realm=");
    if (p == std::string::npos) return Value;
    size_t i = p + 6;
    if (i >= Value.size() || Value[i] != '"') {
        auto end = Value.find_first_of(", ", i);
        return Value.substr(i, end == std::string::npos ? std::string::npos : end - i);
    }
    std::string realm;
    for (++i; i < Value.size(); ++i) {
        if (Value[i] == '\\' && i + 1 < Value.size()) {
            realm += Value[++i];
        } else if (Value[i] == '"') {
            break;
        } else {
            realm += Value[i];
        }
    }
    return realm;
}

struct TNetCustomHTTP::TRequest {
    // What the request was started with.
    std::string URL, Verb, POSTData, Agent, Referer, AcceptTypes, OutputFileName;
    std::vector<std::string> ExtraHeaders;
    TNetHTTPProxy Proxy;
    bool UseCache = true, UseCookies = true, WorkOffline = false;
    std::string Username, Password, ProxyUsername, ProxyPassword;
    long BufferSize = 4096;
    long ConnectTimeout = 15, LowSpeedTime = 60;
    std::int64_t MaxMemory = 0;
    bool HasPasswordHandler = false, HasProxyHandler = false, HasHeaderHandler = false, HasProgress = false;
    TNetCustomHTTP* Owner = nullptr;  // touched only on the user-interface thread while not abandoned

    // The answer.
    int Status = -1;
    std::string RawHeaders, ContentType;
    std::map<std::string, std::string> Headers;
    std::int64_t DataSize = 0;
    bool LengthKnown = false;
    std::int64_t BytesDone = 0;
    bool Success = false;
    bool Continue = true;
    bool OutputFailed = false;
    std::string Error;
    std::string EffectiveURL;
    std::unique_ptr<cb::rtl::TStream> Stream;
    cb::rtl::TAtomicFileStream* File = nullptr;
    std::chrono::steady_clock::time_point Started = std::chrono::steady_clock::now();

    // One attempt.
    bool HeadersDone = false;
    bool Retry = false;
    bool StopTransfer = false;
    int AuthRetries = 0;
    std::exception_ptr HandlerError;
    TNetWorker* Worker = nullptr;

    void ResetAttempt() {
        Status = -1;
        RawHeaders.clear();
        Headers.clear();
        ContentType.clear();
        DataSize = 0;
        LengthKnown = false;
        BytesDone = 0;
        Stream.reset();
        File = nullptr;
        HeadersDone = Retry = StopTransfer = false;
        OutputFailed = false;
    }

    std::string Header(const std::string& name) const {
        auto it = Headers.find(name);
        return it == Headers.end() ? std::string() : it->second;
    }

    // Runs Fn on the user-interface thread; false when the worker was
    // abandoned or Fn raised (the error is kept and raised after the transfer).
    bool Sync(const std::function<void()>& Fn) {
        try {
            return Worker->Synchronize(Fn);
        } catch (...) {
            HandlerError = std::current_exception();
            return false;
        }
    }

    // The headers of the final answer are in: challenges, header info and the
    // response stream. False stops the transfer.
    bool OnHeadersDone() {
        HeadersDone = true;
        if (Status == 401 && HasPasswordHandler && AuthRetries < kMaxAuthRetries) {
            std::string realm = ParseRealm(Header("www-authenticate"));
            bool again = false;
            if (!Sync([&] {
                    Owner->OnPasswordRequest(*Owner, realm, again);
                    Username = Owner->GetUsername();
                    Password = Owner->GetPassword();
                }))
                return false;
            if (again) {
                ++AuthRetries;
                Retry = true;
                return false;
            }
        }
        if (Status == 407 && HasProxyHandler && AuthRetries < kMaxAuthRetries) {
            bool again = false;
            if (!Sync([&] {
                    std::string user = Owner->ProxyUsername, pass = Owner->ProxyPassword;
                    Owner->OnProxyAuthenticationRequest(*Owner, user, pass, again);
                    Owner->ProxyUsername = ProxyUsername = user;
                    Owner->ProxyPassword = ProxyPassword = pass;
                }))
                return false;
            if (again) {
                ++AuthRetries;
                Retry = true;
                return false;
            }
        }
        ContentType = Header("content-type");
        std::string length = Header("content-length");
        if (!length.empty()) {
            char* end = nullptr;
            errno = 0;
            long long v = std::strtoll(length.c_str(), &end, 10);
            if (errno == 0 && end && *end == '\0' && v >= 0) {
                DataSize = v;
                LengthKnown = true;
            }
        }
        if (HasHeaderHandler) {
            auto date = ParseHTTPDate(Header("date")), modified = ParseHTTPDate(Header("last-modified")),
                 expires = ParseHTTPDate(Header("expires"));
            std::string language = Header("content-language"), encoding = Header("content-encoding");
            bool cont = true;
            if (!Sync([&] {
                    Owner->FStatus = Status;
                    Owner->OnHeaderInfo(*Owner, RawHeaders, ContentType, language, encoding, DataSize, date, modified,
                                        expires, cont);
                }))
                return false;
            if (!cont) {
                Continue = false;
                return false;
            }
        }
        if (!OutputFileName.empty()) {
            try {
                auto file = std::make_unique<cb::rtl::TAtomicFileStream>(OutputFileName);
                File = file.get();
                Stream = std::move(file);
            } catch (const std::exception& e) {
                OutputFailed = true;
                Error = e.what();
                return false;
            }
        } else {
            if (LengthKnown && DataSize > MaxMemory) {
                Error = "The answer is too large (" + std::to_string(DataSize) + " bytes)";
                return false;
            }
            auto memory = std::make_unique<cb::rtl::TMemoryStream>();
            if (LengthKnown) {
                memory->SetSize(DataSize);
                memory->SetSize(0);
            }
            Stream = std::move(memory);
        }
        return true;
    }

    void Progress(TNetCustomHTTP& sender) {
        auto elapsedMs =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - Started).count();
        int elapsed = static_cast<int>(elapsedMs / 1000);
        auto percent = PercentOf(static_cast<double>(BytesDone), static_cast<double>(DataSize));
        int left = BytesDone > 0
                       ? static_cast<int>(std::lround(static_cast<double>(DataSize) / BytesDone * elapsed)) - elapsed
                       : -elapsed;
        float rate = static_cast<float>(BytesDone / 1024.0);
        if (elapsed != 0) rate /= static_cast<float>(elapsed);
        sender.OnProgress(sender, ContentType, DataSize, BytesDone, elapsed, left, percent, rate, Stream.get());
    }

    static size_t OnHeaderLine(char* data, size_t size, size_t count, void* user) {
        auto* r = static_cast<TRequest*>(user);
        size_t n = size * count;
        std::string line(data, n);
        if (line.rfind("HTTP/", 0) == 0) {
            // a new answer (after a redirect, a 100 Continue or an authentication round)
            r->Headers.clear();
            r->RawHeaders = line;
            auto sp = line.find(' ');
            r->Status = sp == std::string::npos ? 0 : std::atoi(line.c_str() + sp + 1);
            return n;
        }
        if (r->RawHeaders.size() + n > kMaxHeaderBytes) return 0;
        r->RawHeaders += line;
        auto colon = line.find(':');
        if (colon != std::string::npos)
            r->Headers[cb::rtl::LowerCase(cb::rtl::Trim(line.substr(0, colon)))] =
                cb::rtl::Trim(line.substr(colon + 1));
        return n;
    }

    static size_t OnBody(char* data, size_t size, size_t count, void* user) {
        auto* r = static_cast<TRequest*>(user);
        size_t n = size * count;
        if (r->Worker->Abandoned()) return 0;
        if (!r->HeadersDone && !r->OnHeadersDone()) {
            r->StopTransfer = true;
            return 0;
        }
        if (!r->File && static_cast<std::int64_t>(r->Stream->Size() + n) > r->MaxMemory) {
            r->Error = "The answer is larger than " + std::to_string(r->MaxMemory) + " bytes";
            r->StopTransfer = true;
            return 0;
        }
        try {
            r->Stream->WriteBuffer(data, n);
        } catch (const std::exception& e) {
            r->Error = e.what();
            r->StopTransfer = true;
            return 0;
        }
        r->BytesDone += static_cast<std::int64_t>(n);
        if (r->HasProgress && !r->Sync([r] { r->Progress(*r->Owner); })) {
            r->StopTransfer = true;
            return 0;
        }
        return n;
    }

    static int OnTransferInfo(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
        auto* r = static_cast<TRequest*>(user);
        return r->Worker->Abandoned() ? 1 : 0;
    }

    // One attempt: returns the transfer's result code.
    CURLcode Perform() {
        CURL* curl = curl_easy_init();
        if (!curl) {
            Error = "Cannot start an HTTP transfer";
            return CURLE_FAILED_INIT;
        }
        char errors[CURL_ERROR_SIZE] = {0};
        TSlist headers;
        std::string url = URL.find("://") == std::string::npos ? "http://" + URL : URL;
        curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
        curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errors);
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 10L);
        curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, ConnectTimeout);
        curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, LowSpeedTime);
        curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, std::clamp(BufferSize, 1024L, 512L * 1024L));
        curl_easy_setopt(curl, CURLOPT_USERAGENT, Agent.c_str());
        if (!Referer.empty()) curl_easy_setopt(curl, CURLOPT_REFERER, Referer.c_str());
        if (!AcceptTypes.empty()) headers.Add("Accept: " + OneLine(AcceptTypes));
        for (const auto& h : ExtraHeaders) headers.Add(h);
        if (!UseCache) {
            headers.Add("Cache-Control: no-cache");
            headers.Add("Pragma: no-cache");
        }
        if (UseCookies) curl_easy_setopt(curl, CURLOPT_COOKIEFILE, "");
        TURLParts parts;
        bool urlHasUser = CrackURL(url, parts) && !parts.UserName.empty();
        if (!urlHasUser && !Username.empty()) curl_easy_setopt(curl, CURLOPT_USERNAME, Username.c_str());
        if (!(urlHasUser && !parts.Password.empty()) && !Password.empty())
            curl_easy_setopt(curl, CURLOPT_PASSWORD, Password.c_str());
        curl_easy_setopt(curl, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC | CURLAUTH_DIGEST));
        switch (Proxy.AccessType) {
        case TNetHTTPAccessType::atPreconfig:
            break;
        case TNetHTTPAccessType::atDirect:
            curl_easy_setopt(curl, CURLOPT_PROXY, "");
            break;
        case TNetHTTPAccessType::atUseProxy: {
            curl_easy_setopt(curl, CURLOPT_PROXY, Proxy.ProxyServer.c_str());
            curl_easy_setopt(curl, CURLOPT_PROXYPORT, static_cast<long>(Proxy.ProxyPort));
            std::string bypass = Proxy.ProxyBypass;
            std::replace(bypass.begin(), bypass.end(), ';', ',');
            while (!bypass.empty() && (bypass.back() == ',' || bypass.back() == ' ')) bypass.pop_back();
            curl_easy_setopt(curl, CURLOPT_NOPROXY, bypass.c_str());
            break;
        }
        }
        if (!ProxyUsername.empty()) curl_easy_setopt(curl, CURLOPT_PROXYUSERNAME, ProxyUsername.c_str());
        if (!ProxyPassword.empty()) curl_easy_setopt(curl, CURLOPT_PROXYPASSWORD, ProxyPassword.c_str());
        if (Verb == "POST") {
            curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(POSTData.size()));
            curl_easy_setopt(curl, CURLOPT_POSTFIELDS, POSTData.c_str());
            headers.Add("Content-Type: application/x-www-form-urlencoded");
        } else {
            curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
        }
        curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers.List);
        curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &TRequest::OnHeaderLine);
        curl_easy_setopt(curl, CURLOPT_HEADERDATA, this);
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &TRequest::OnBody);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, this);
        curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &TRequest::OnTransferInfo);
        curl_easy_setopt(curl, CURLOPT_XFERINFODATA, this);
        curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
        CURLcode rc = curl_easy_perform(curl);
        if (rc != CURLE_OK && Error.empty()) Error = errors[0] ? std::string(errors) : curl_easy_strerror(rc);
        char* effective = nullptr;
        if (curl_easy_getinfo(curl, CURLINFO_EFFECTIVE_URL, &effective) == CURLE_OK && effective)
            EffectiveURL = effective;
        curl_easy_cleanup(curl);
        return rc;
    }

    // The request body, on the worker thread.
    void Run(TNetWorker& worker) {
        Worker = &worker;
        if (WorkOffline) {
            Error = "Working offline";
            return;
        }
        for (;;) {
            ResetAttempt();
            CURLcode rc = Perform();
            if (HandlerError) std::rethrow_exception(HandlerError);
            if (worker.Abandoned()) return;
            if (Retry) continue;
            if (rc == CURLE_OK && !HeadersDone && Status != -1 && !StopTransfer) {
                if (!OnHeadersDone()) {
                    if (HandlerError) std::rethrow_exception(HandlerError);
                    if (Retry) continue;
                }
            }
            bool complete = rc == CURLE_OK && !StopTransfer && Stream && (!LengthKnown || BytesDone == DataSize);
            Success = complete && Continue && Status >= 200 && Status < 300;
            if (Success && File) {
                try {
                    File->Commit();
                } catch (const std::exception& e) {
                    Error = e.what();
                    Success = false;
                }
            }
            if (!Success && Error.empty() && Status >= 200 && Status < 300) Error = "The answer is incomplete";
            return;
        }
    }
};

TNetCustomHTTP::TNetCustomHTTP() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    FThread.SetOnException([this](const std::string& message) {
        FLastError = message;
        if (OnAnyError) OnAnyError(*this);
    });
    FThread.SetOnFinish([this] { FinishDispatch(); });
}

TNetCustomHTTP::~TNetCustomHTTP() {
    if (IsBusy()) FThread.Stop(true);
}

bool TNetCustomHTTP::IsBusy() const {
    return FThread.IsRunning();
}

bool TNetCustomHTTP::StartRequest() {
    if (IsBusy()) return false;
    auto r = std::make_shared<TRequest>();
    r->URL = URL;
    bool post = RequestMethod == TNetHTTPRequestMethod::rmPOST ||
                (RequestMethod == TNetHTTPRequestMethod::rmAutoDetect && !POSTData.empty());
    r->Verb = post ? "POST" : "GET";
    r->POSTData = POSTData;
    r->Agent = OneLine(Agent);
    r->Referer = OneLine(Referer);
    r->AcceptTypes = AcceptTypes;
    r->OutputFileName = OutputFileName;
    for (int i = 0; i < AddHeaders.Count(); ++i) {
        std::string line = OneLine(AddHeaders[i]);
        if (!line.empty()) r->ExtraHeaders.push_back(line);
    }
    if (Range.StartRange != 0 || Range.EndRange != 0) {
        std::string range = "Range: bytes=" + std::to_string(Range.StartRange) + "-";
        if (Range.EndRange != 0) range += std::to_string(Range.EndRange);
        r->ExtraHeaders.push_back(range);
    }
    r->Proxy = Proxy;
    r->UseCache = UseCache;
    r->UseCookies = UseCookies;
    r->WorkOffline = WorkOffline;
    r->Username = GetUsername();
    r->Password = GetPassword();
    r->ProxyUsername = ProxyUsername;
    r->ProxyPassword = ProxyPassword;
    r->BufferSize = std::max(255, TransferBufferSize);
    r->ConnectTimeout = std::max(1, ConnectTimeoutSeconds);
    r->LowSpeedTime = std::max(1, LowSpeedTimeSeconds);
    r->MaxMemory = std::max<std::int64_t>(0, MaxMemorySize);
    r->HasPasswordHandler = static_cast<bool>(OnPasswordRequest);
    r->HasProxyHandler = static_cast<bool>(OnProxyAuthenticationRequest);
    r->HasHeaderHandler = static_cast<bool>(OnHeaderInfo);
    r->HasProgress = static_cast<bool>(OnProgress);
    r->Owner = this;
    FRequest = r;
    FStatus = -1;
    FLastError.clear();
    FOutputFailed = false;
    FEffectiveURL.clear();
    // The work holds only the request: the component may go while the worker still runs.
    FThread.SetOnExecute([r](TNetWorker& worker) { r->Run(worker); });
    FThread.Start();
    return true;
}

void TNetCustomHTTP::Abort() {
    if (IsBusy()) {
        FThread.Stop(true);
        FLastError = "Aborted";
        if (OnAborted) OnAborted(*this);
    }
    FRequest.reset();
}

std::string TNetCustomHTTP::URLHost() const {
    return GetURLHost(URL);
}

std::string TNetCustomHTTP::URLFileName() const {
    return GetURLFileName(URL);
}

void TNetCustomHTTP::FinishDispatch() {
    auto r = FRequest;
    if (!r) return;
    FStatus = r->Status;
    FOutputFailed = r->OutputFailed;
    FEffectiveURL = r->EffectiveURL;
    if (!r->Error.empty()) FLastError = r->Error;
    if (r->Stream && !r->File) r->Stream->SetPosition(0);
    if (r->Continue) {
        if (r->OutputFailed) {
            if (OnAnyError) OnAnyError(*this);
        } else if (r->Success) {
            cb::rtl::TStream* stream = r->Stream.get();
            if (r->File) {
                r->Stream.reset();  // written and renamed into place: the file is handed over by name
                stream = nullptr;
            }
            if (OnDone) OnDone(*this, r->ContentType, r->BytesDone, stream);
        } else {
            if (OnAnyError) OnAnyError(*this);
            if (r->Status >= 200 && r->Status < 300) {
                if (OnConnLost) OnConnLost(*this, r->ContentType, r->DataSize, r->BytesDone, r->Stream.get());
            } else if (r->Status == -1) {
                if (OnHostUnreachable) OnHostUnreachable(*this);
            } else {
                if (OnHTTPError) OnHTTPError(*this, r->Status, r->Stream.get());
            }
        }
    } else {
        if (OnDoneInterrupted) OnDoneInterrupted(*this);
    }
    r->Stream.reset();  // an uncommitted output file is removed here
}

}  // namespace cb::upgrade
