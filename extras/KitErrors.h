#pragma once
// Errors of the extras: an invalid bitmap, and the silent abort after the
// user has been told.
#include "platform/rtl/Exception.h"

namespace cb::extras {

// "Bitmap image is not valid" and the like.
class EInvalidGraphic : public cb::rtl::Exception {
public:
    using cb::rtl::Exception::Exception;
};

// A silent abort: the user has been told already.
class EKitAbort : public cb::rtl::Exception {
public:
    EKitAbort() : cb::rtl::Exception("Operation aborted") {}
};

// Resets the cursor, tells the user "Function not yet implemented" and
// throws EKitAbort.
[[noreturn]] void NotImplementedStop();

}  // namespace cb::extras
