// The cube browser's entry point.
#include "app/ui/main/Startup.h"
#include "platform/rtl/AtomicFile.h"

int main(int argc, char** argv) {
    // Temporary files of the saves under way go with the process.
    cb::rtl::InstallTempFileCleanupOnSignals();
    return cb::app::RunApplication(argc, argv);
}
