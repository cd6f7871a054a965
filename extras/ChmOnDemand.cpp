// The chmlib functions the help reader calls, opening chmlib at the first
// call rather than at start (most runs never open the help file). Without
// chmlib every call fails as chmlib's own would: no file opens, no object
// is found, nothing is read.
#include <chm_lib.h>

#include "platform/os/OnDemandLibrary.h"

namespace {

template <class F>
F Chm(const char* name) {
    return cb::os::OnDemandFunction<F>("libchm.so.1", name);
}

}  // namespace

extern "C" {

struct chmFile* chm_open(const char* filename) {
    static const auto fn = Chm<struct chmFile* (*)(const char*)>("chm_open");
    return fn ? fn(filename) : nullptr;
}

void chm_close(struct chmFile* h) {
    static const auto fn = Chm<void (*)(struct chmFile*)>("chm_close");
    if (fn) fn(h);
}

int chm_resolve_object(struct chmFile* h, const char* objPath, struct chmUnitInfo* ui) {
    static const auto fn = Chm<int (*)(struct chmFile*, const char*, struct chmUnitInfo*)>("chm_resolve_object");
    return fn ? fn(h, objPath, ui) : CHM_RESOLVE_FAILURE;
}

LONGINT64 chm_retrieve_object(struct chmFile* h, struct chmUnitInfo* ui, unsigned char* buf, LONGUINT64 addr,
                              LONGINT64 len) {
    static const auto fn = Chm<LONGINT64 (*)(struct chmFile*, struct chmUnitInfo*, unsigned char*, LONGUINT64,
                                             LONGINT64)>("chm_retrieve_object");
    return fn ? fn(h, ui, buf, addr, len) : 0;
}

int chm_enumerate(struct chmFile* h, int what, CHM_ENUMERATOR e, void* context) {
    static const auto fn = Chm<int (*)(struct chmFile*, int, CHM_ENUMERATOR, void*)>("chm_enumerate");
    return fn ? fn(h, what, e, context) : 0;
}

}  // extern "C"

namespace cb::extras {

bool ChmLibraryPresent() {
    return Chm<void*>("chm_open") != nullptr;
}

}  // namespace cb::extras
