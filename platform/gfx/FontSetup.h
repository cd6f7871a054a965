#pragma once
// Loads the system's font configuration (its files and caches) on a thread
// of its own, so that the toolkit's first text finds it ready. The toolkit
// would load it on the user-interface thread at its first font otherwise.
#include <thread>

namespace cb::gfx {

class TFontSetupAhead {
public:
    TFontSetupAhead();
    // Waits for the load; call before the first font is used, so the
    // configuration is loaded once.
    ~TFontSetupAhead();
    void Wait();
    TFontSetupAhead(const TFontSetupAhead&) = delete;
    TFontSetupAhead& operator=(const TFontSetupAhead&) = delete;

private:
    std::thread FThread;
};

}  // namespace cb::gfx
