#include "platform/gfx/FontSetup.h"

#include <fontconfig/fontconfig.h>

#include <system_error>

namespace cb::gfx {

TFontSetupAhead::TFontSetupAhead() {
    try {
        // A failure leaves the load to the toolkit, which reports it as usual.
        FThread = std::thread([] { (void)FcInit(); });
    } catch (const std::system_error&) {
        // No thread: the toolkit loads it when it needs it.
    }
}

TFontSetupAhead::~TFontSetupAhead() {
    Wait();
}

void TFontSetupAhead::Wait() {
    if (FThread.joinable()) FThread.join();
}

}  // namespace cb::gfx
