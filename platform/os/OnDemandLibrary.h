#pragma once
// Shared libraries the program opens when it first calls them instead of at
// start: a library of its own (with what it needs in turn) costs the start
// of every run its loading and relocation, while only some runs use it.
namespace cb::os {

// The address of symbol in library (a file name the loader finds, such as
// "libcurl.so.4"), the library opened on the first call; null when either is
// missing. Safe from any thread.
void* OnDemandSymbol(const char* library, const char* symbol);

// A function of library, typed; null when it cannot be had.
template <class F>
F OnDemandFunction(const char* library, const char* symbol) {
    return reinterpret_cast<F>(OnDemandSymbol(library, symbol));
}

}  // namespace cb::os
