#pragma once
// Errors of the OLAP engine: bad cube files, bad MDX, failed queries. The
// message says what went wrong and where (file, query position, name).
#include "platform/rtl/Exception.h"

namespace cb::olap {

class EOlapError : public cb::rtl::Exception {
public:
    using cb::rtl::Exception::Exception;
};

}  // namespace cb::olap
