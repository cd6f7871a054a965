// The libcurl functions the program calls, opening libcurl (and the TLS,
// Kerberos and LDAP libraries it brings) at the first call rather than at
// start. Without libcurl every call fails as libcurl's own would: init
// functions give null or CURLE_FAILED_INIT.
#define CURL_DISABLE_TYPECHECK
#include <curl/curl.h>

#include "platform/os/OnDemandLibrary.h"

#include <cstdarg>

namespace {

template <class F>
F Curl(const char* name) {
    return cb::os::OnDemandFunction<F>("libcurl.so.4", name);
}

}  // namespace

extern "C" {

CURLcode curl_global_init(long flags) {
    static const auto fn = Curl<CURLcode (*)(long)>("curl_global_init");
    return fn ? fn(flags) : CURLE_FAILED_INIT;
}

CURL* curl_easy_init(void) {
    static const auto fn = Curl<CURL* (*)()>("curl_easy_init");
    return fn ? fn() : nullptr;
}

void curl_easy_cleanup(CURL* handle) {
    static const auto fn = Curl<void (*)(CURL*)>("curl_easy_cleanup");
    if (fn) fn(handle);
}

// The option's number tells the type of its argument.
CURLcode curl_easy_setopt(CURL* handle, CURLoption option, ...) {
    static const auto fn = Curl<CURLcode (*)(CURL*, CURLoption, ...)>("curl_easy_setopt");
    if (!fn) return CURLE_FAILED_INIT;
    va_list args;
    va_start(args, option);
    CURLcode rc;
    if (option < CURLOPTTYPE_OBJECTPOINT)
        rc = fn(handle, option, va_arg(args, long));
    else if (option < CURLOPTTYPE_FUNCTIONPOINT)
        rc = fn(handle, option, va_arg(args, void*));
    else if (option < CURLOPTTYPE_OFF_T)
        rc = fn(handle, option, va_arg(args, void (*)()));
    else if (option < CURLOPTTYPE_BLOB)
        rc = fn(handle, option, va_arg(args, curl_off_t));
    else
        rc = fn(handle, option, va_arg(args, void*));
    va_end(args);
    return rc;
}

// Every piece of information is written through a pointer.
CURLcode curl_easy_getinfo(CURL* handle, CURLINFO info, ...) {
    static const auto fn = Curl<CURLcode (*)(CURL*, CURLINFO, ...)>("curl_easy_getinfo");
    if (!fn) return CURLE_FAILED_INIT;
    va_list args;
    va_start(args, info);
    const CURLcode rc = fn(handle, info, va_arg(args, void*));
    va_end(args);
    return rc;
}

CURLcode curl_easy_perform(CURL* handle) {
    static const auto fn = Curl<CURLcode (*)(CURL*)>("curl_easy_perform");
    return fn ? fn(handle) : CURLE_FAILED_INIT;
}

CURLcode curl_easy_pause(CURL* handle, int bitmask) {
    static const auto fn = Curl<CURLcode (*)(CURL*, int)>("curl_easy_pause");
    return fn ? fn(handle, bitmask) : CURLE_FAILED_INIT;
}

const char* curl_easy_strerror(CURLcode code) {
    static const auto fn = Curl<const char* (*)(CURLcode)>("curl_easy_strerror");
    return fn ? fn(code) : "libcurl is not available";
}

curl_slist* curl_slist_append(curl_slist* list, const char* text) {
    static const auto fn = Curl<curl_slist* (*)(curl_slist*, const char*)>("curl_slist_append");
    return fn ? fn(list, text) : nullptr;
}

void curl_slist_free_all(curl_slist* list) {
    static const auto fn = Curl<void (*)(curl_slist*)>("curl_slist_free_all");
    if (fn) fn(list);
}

CURLM* curl_multi_init(void) {
    static const auto fn = Curl<CURLM* (*)()>("curl_multi_init");
    return fn ? fn() : nullptr;
}

CURLMcode curl_multi_add_handle(CURLM* multi, CURL* handle) {
    static const auto fn = Curl<CURLMcode (*)(CURLM*, CURL*)>("curl_multi_add_handle");
    return fn ? fn(multi, handle) : CURLM_INTERNAL_ERROR;
}

CURLMcode curl_multi_remove_handle(CURLM* multi, CURL* handle) {
    static const auto fn = Curl<CURLMcode (*)(CURLM*, CURL*)>("curl_multi_remove_handle");
    return fn ? fn(multi, handle) : CURLM_INTERNAL_ERROR;
}

CURLMcode curl_multi_perform(CURLM* multi, int* running) {
    static const auto fn = Curl<CURLMcode (*)(CURLM*, int*)>("curl_multi_perform");
    return fn ? fn(multi, running) : CURLM_INTERNAL_ERROR;
}

CURLMcode curl_multi_poll(CURLM* multi, curl_waitfd extra[], unsigned int extraCount, int timeoutMs, int* ready) {
    static const auto fn =
        Curl<CURLMcode (*)(CURLM*, curl_waitfd*, unsigned int, int, int*)>("curl_multi_poll");
    return fn ? fn(multi, extra, extraCount, timeoutMs, ready) : CURLM_INTERNAL_ERROR;
}

CURLMsg* curl_multi_info_read(CURLM* multi, int* queued) {
    static const auto fn = Curl<CURLMsg* (*)(CURLM*, int*)>("curl_multi_info_read");
    if (queued) *queued = 0;
    return fn ? fn(multi, queued) : nullptr;
}

CURLMcode curl_multi_cleanup(CURLM* multi) {
    static const auto fn = Curl<CURLMcode (*)(CURLM*)>("curl_multi_cleanup");
    return fn ? fn(multi) : CURLM_INTERNAL_ERROR;
}

}  // extern "C"
