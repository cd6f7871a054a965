// The cube browser's entry point.
#include "app/ui/main/Startup.h"

int main(int argc, char** argv) {
    return cb::app::RunApplication(argc, argv);
}
