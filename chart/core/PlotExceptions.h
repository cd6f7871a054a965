#pragma once
// Failures of the chart engine's checks; a failed check leaves the old value.
#include "platform/rtl/Exception.h"

namespace cb::chart {

class ChartException : public cb::rtl::Exception {
public:
    using cb::rtl::Exception::Exception;
};

class AxisException : public cb::rtl::Exception {
public:
    using cb::rtl::Exception::Exception;
};

class LegendException : public cb::rtl::Exception {
public:
    using cb::rtl::Exception::Exception;
};

}  // namespace cb::chart
