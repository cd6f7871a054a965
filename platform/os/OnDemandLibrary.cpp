#include "platform/os/OnDemandLibrary.h"

#include <dlfcn.h>

#include <map>
#include <mutex>
#include <string>

namespace cb::os {

void* OnDemandSymbol(const char* library, const char* symbol) {
    static std::mutex mutex;
    static std::map<std::string, void*> opened;  // stays open for the process
    void* handle = nullptr;
    {
        std::lock_guard lock(mutex);
        auto it = opened.find(library);
        if (it == opened.end()) it = opened.emplace(library, ::dlopen(library, RTLD_NOW | RTLD_LOCAL)).first;
        handle = it->second;
    }
    return handle ? ::dlsym(handle, symbol) : nullptr;
}

}  // namespace cb::os
