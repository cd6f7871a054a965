#include "olap/xmla/XmlaHttp.h"

#include "olap/engine/OlapError.h"
#include "platform/rtl/Strings.h"

#include <curl/curl.h>

#include <algorithm>
#include <charconv>
#include <mutex>

namespace cb::olap::xmla {

namespace {

struct Transfer {
    HttpAnswer answer;
    size_t maxBytes = 0;
    size_t headerBytes = 0;
    bool tooLarge = false;
};

constexpr size_t kMaxHeaderBytes = 64 * 1024;

size_t OnHeader(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const size_t n = size * count;
    t->headerBytes += n;
    if (t->headerBytes > kMaxHeaderBytes) return 0;
    std::string line(data, n);
    if (line.rfind("HTTP/", 0) == 0) t->answer.authenticate.clear();  // a new answer
    const size_t colon = line.find(':');
    if (colon == 16 && cb::rtl::StartsText("www-authenticate", line) && t->answer.authenticate.empty())
        t->answer.authenticate = cb::rtl::Trim(std::string_view(line).substr(colon + 1));
    // A stated length within the cap is made room for at once: the body
    // then never grows by doubling (which holds up to three times its size).
    if (colon == 14 && cb::rtl::StartsText("content-length", line)) {
        const std::string value = cb::rtl::Trim(std::string_view(line).substr(colon + 1));
        size_t length = 0;
        const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), length);
        if (ec == std::errc() && end == value.data() + value.size() && length <= t->maxBytes &&
            length > t->answer.body.capacity())
            t->answer.body.reserve(length);
    }
    return n;
}

size_t OnBody(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const size_t n = size * count;
    if (n > t->maxBytes - t->answer.body.size()) {
        t->tooLarge = true;
        return 0;
    }
    t->answer.body.append(data, n);
    return n;
}

// "2 seconds", "0.5 seconds".
std::string Seconds(long ms) {
    std::string s = std::to_string(ms / 1000);
    if (ms % 1000) s += "." + std::to_string((ms % 1000) / 100);
    return s + (ms == 1000 ? " second" : " seconds");
}

struct Headers {
    curl_slist* list = nullptr;
    ~Headers() { curl_slist_free_all(list); }
    void Add(const std::string& line) {
        if (curl_slist* l = curl_slist_append(list, line.c_str())) list = l;
    }
};

}  // namespace

HttpAnswer HttpPost(const std::string& url, const std::vector<std::string>& headers, const std::string& body,
                    const std::string& user, const std::string& password, const HttpLimits& limits) {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    CURL* curl = curl_easy_init();
    if (!curl) throw EOlapError("cannot start an HTTP transfer");
    Transfer transfer;
    transfer.maxBytes = limits.maxAnswerBytes;
    char errors[CURL_ERROR_SIZE] = {0};
    Headers lines;
    for (const std::string& h : headers) lines.Add(h);
    lines.Add("Expect:");  // no 100-continue round trip

    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errors);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, std::max(1L, limits.connectTimeoutMs));
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, std::max(1L, limits.totalTimeoutMs));
    // No compressed answers: a few hundred KB of gzip could inflate to the
    // cap, and the cap then counts the bytes as they arrive.
    curl_easy_setopt(curl, CURLOPT_USERAGENT, "CubeBrowser XMLA client");
    curl_easy_setopt(curl, CURLOPT_POST, 1L);
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, lines.list);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &OnBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &OnHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC | CURLAUTH_DIGEST));
    if (!user.empty()) {
        curl_easy_setopt(curl, CURLOPT_USERNAME, user.c_str());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, password.c_str());
    } else {
        curl_easy_setopt(curl, CURLOPT_NETRC, static_cast<long>(CURL_NETRC_OPTIONAL));
    }
    const CURLcode rc = curl_easy_perform(curl);
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    char* type = nullptr;
    if (curl_easy_getinfo(curl, CURLINFO_CONTENT_TYPE, &type) == CURLE_OK && type) transfer.answer.contentType = type;
    curl_easy_cleanup(curl);

    if (transfer.tooLarge)
        throw EOlapError("sent an answer larger than " + std::to_string(limits.maxAnswerBytes >> 20) + " MB");
    if (rc == CURLE_OPERATION_TIMEDOUT) {
        if (status == 0 && transfer.answer.body.empty())
            throw EOlapError("did not answer within " + Seconds(limits.totalTimeoutMs));
        throw EOlapError("did not finish its answer within " + Seconds(limits.totalTimeoutMs));
    }
    if (transfer.headerBytes > kMaxHeaderBytes) throw EOlapError("sent more than 64 KB of headers");
    if (rc == CURLE_PARTIAL_FILE) throw EOlapError("broke off its answer before the end");
    if (rc != CURLE_OK)
        throw EOlapError("cannot be reached: " + cb::rtl::TrimRight(errors[0] ? errors : curl_easy_strerror(rc)));
    transfer.answer.status = status;
    return std::move(transfer.answer);
}

}  // namespace cb::olap::xmla
