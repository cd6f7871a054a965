#pragma once
// Errors of the GIF code: EInvalidGraphicOperation for a picture that cannot
// be read, written or changed; GIFException, a kind of it, for the block
// codec's own checks.
#include "platform/rtl/Exception.h"

namespace cb::gif {

class EInvalidGraphicOperation : public cb::rtl::Exception {
public:
    using cb::rtl::Exception::Exception;
};

class GIFException : public EInvalidGraphicOperation {
public:
    using EInvalidGraphicOperation::EInvalidGraphicOperation;
};

}  // namespace cb::gif
