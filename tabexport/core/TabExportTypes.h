#pragma once
// Enumerations shared by every tabular exporter and the export error.
#include "platform/rtl/Exception.h"

#include <string>

namespace cb::tabexport {

// Which source an export walks. Only the string grid and the custom source
// exist in this program; the other kinds are kept for their names.
enum TTabExportSource {
    esDataSet,
    esListView,
    esDBGrid,
    esStringGrid,
    esCustom
};

enum TTabExportColType {
    ectInteger,
    ectBigint,
    ectFloat,
    ectCurrency,
    ectDate,
    ectTime,
    ectDateTime,
    ectString,
    ectBoolean,
    ectUnknown
};

enum TTabExportColAlign {
    ecaLeft,
    ecaCenter,
    ecaRight
};

// Page orientation of the paged formats.
enum TTabExportPageOrientation {
    poPortrait,
    poLandscape
};

// The kind's name in messages ("StringGrid", ...); empty for other values.
std::string ExportSourceName(TTabExportSource Kind);

class ETabExportError : public cb::rtl::Exception {
public:
    using cb::rtl::Exception::Exception;
};

}  // namespace cb::tabexport
