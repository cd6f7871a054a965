#include "olap/xmla/XmlaHttp.h"

#include "olap/engine/OlapError.h"
#include "platform/rtl/Strings.h"

#include <curl/curl.h>

#include <algorithm>
#include <mutex>

namespace cb::olap::xmla {

namespace {

constexpr size_t kMaxHeaderBytes = 64 * 1024;
// Body bytes held before the transfer pauses until they are read.
constexpr size_t kHeldBodyBytes = 256 * 1024;
// Body bytes waited for before the status is judged: enough to tell a web
// page or an empty answer.
constexpr size_t kHeadBytes = 512;

// "2 seconds", "0.5 seconds".
std::string Seconds(long ms) {
    std::string s = std::to_string(ms / 1000);
    if (ms % 1000) s += "." + std::to_string((ms % 1000) / 100);
    return s + (ms == 1000 ? " second" : " seconds");
}

}  // namespace

size_t HttpStream::OnHeader(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<HttpStream*>(user);
    const size_t n = size * count;
    t->FHeaderBytes += n;
    if (t->FHeaderBytes > kMaxHeaderBytes) return 0;
    const std::string line(data, n);
    if (line.rfind("HTTP/", 0) == 0) t->FAuthenticate.clear();  // a new answer
    const size_t colon = line.find(':');
    if (colon == 16 && cb::rtl::StartsText("www-authenticate", line) && t->FAuthenticate.empty())
        t->FAuthenticate = cb::rtl::Trim(std::string_view(line).substr(colon + 1));
    return n;
}

size_t HttpStream::OnBody(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<HttpStream*>(user);
    const size_t n = size * count;
    if (n > t->FLimits.maxAnswerBytes - t->FBodyBytes) {
        t->FTooLarge = true;
        return 0;
    }
    // Paused, the transfer hands the same bytes again when it goes on.
    if (t->FPending.size() >= kHeldBodyBytes) {
        t->FPaused = true;
        return CURL_WRITEFUNC_PAUSE;
    }
    t->FBodyBytes += n;
    t->FPending.append(data, n);
    return n;
}

HttpStream::HttpStream(const std::string& url, const std::vector<std::string>& headers, const std::string& body,
                       const std::string& user, const std::string& password, const HttpLimits& limits)
    : FLimits(limits), FRequest(body) {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    FEasy = curl_easy_init();
    FMulti = curl_multi_init();
    if (!FEasy || !FMulti) {
        Close();
        throw EOlapError("cannot start an HTTP transfer");
    }
    curl_slist* list = nullptr;
    for (const std::string& h : headers)
        if (curl_slist* l = curl_slist_append(list, h.c_str())) list = l;
    if (curl_slist* l = curl_slist_append(list, "Expect:")) list = l;  // no 100-continue round trip
    FHeaderList = list;

    CURL* curl = FEasy;
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, FErrors);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, std::max(1L, limits.connectTimeoutMs));
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, std::max(1L, limits.totalTimeoutMs));
    // No compressed answers: a few hundred KB of gzip could inflate to the
    // cap, and the cap then counts the bytes as they arrive.
    curl_easy_setopt(curl, CURLOPT_USERAGENT, "CubeBrowser XMLA client");
    curl_easy_setopt(curl, CURLOPT_POST, 1L);
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(FRequest.size()));
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, FRequest.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, list);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &HttpStream::OnBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &HttpStream::OnHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(curl, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC | CURLAUTH_DIGEST));
    if (!user.empty()) {
        curl_easy_setopt(curl, CURLOPT_USERNAME, user.c_str());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, password.c_str());
    } else {
        curl_easy_setopt(curl, CURLOPT_NETRC, static_cast<long>(CURL_NETRC_OPTIONAL));
    }
    curl_multi_add_handle(FMulti, FEasy);
    try {
        while (!FEnded && FPending.size() < kHeadBytes) Wait();
    } catch (...) {
        Close();
        throw;
    }
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &FStatus);
    char* type = nullptr;
    if (curl_easy_getinfo(curl, CURLINFO_CONTENT_TYPE, &type) == CURLE_OK && type) FContentType = type;
}

HttpStream::~HttpStream() {
    Close();
}

void HttpStream::Close() {
    if (FMulti && FEasy) curl_multi_remove_handle(FMulti, FEasy);
    if (FEasy) curl_easy_cleanup(FEasy);
    if (FMulti) curl_multi_cleanup(FMulti);
    curl_slist_free_all(static_cast<curl_slist*>(FHeaderList));
    FEasy = FMulti = FHeaderList = nullptr;
}

void HttpStream::Wait() {
    if (FPaused) {
        FPaused = false;
        curl_easy_pause(FEasy, CURLPAUSE_CONT);  // may hand bytes at once
        if (!FPending.empty()) return;
    }
    int running = 0;
    if (curl_multi_perform(FMulti, &running) != CURLM_OK) throw EOlapError("cannot go on with the HTTP transfer");
    int left = 0;
    while (CURLMsg* m = curl_multi_info_read(FMulti, &left))
        if (m->msg == CURLMSG_DONE) Finish(m->data.result);
    if (!FEnded && FPending.empty() && running) curl_multi_poll(FMulti, nullptr, 0, 1000, nullptr);
}

void HttpStream::Finish(int code) {
    FEnded = true;
    const auto rc = static_cast<CURLcode>(code);
    long status = 0;
    curl_easy_getinfo(FEasy, CURLINFO_RESPONSE_CODE, &status);
    if (FTooLarge)
        throw EOlapError("sent an answer larger than " + std::to_string(FLimits.maxAnswerBytes >> 20) + " MB");
    if (rc == CURLE_OPERATION_TIMEDOUT) {
        if (status == 0 && FBodyBytes == 0)
            throw EOlapError("did not answer within " + Seconds(FLimits.totalTimeoutMs));
        throw EOlapError("did not finish its answer within " + Seconds(FLimits.totalTimeoutMs));
    }
    if (FHeaderBytes > kMaxHeaderBytes) throw EOlapError("sent more than 64 KB of headers");
    if (rc == CURLE_PARTIAL_FILE) throw EOlapError("broke off its answer before the end");
    if (rc != CURLE_OK)
        throw EOlapError("cannot be reached: " + cb::rtl::TrimRight(FErrors[0] ? FErrors : curl_easy_strerror(rc)));
}

bool HttpStream::Read(std::string& piece) {
    piece.clear();
    while (FPending.empty() && !FEnded) Wait();
    if (FPending.empty()) return false;
    piece.swap(FPending);
    return true;
}

}  // namespace cb::olap::xmla
