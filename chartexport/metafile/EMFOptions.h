#pragma once
// The metafile format's options form: enhanced or plain.
#include "chartexport/core/ExportOptionsForm.h"

class QCheckBox;

namespace cb::chartexport {

class TEMFExportFormat;

class TEMFOptions : public TExportOptionsForm {
public:
    explicit TEMFOptions(TEMFExportFormat& format);
    void Refresh() override;

    QCheckBox* CBEnhanced;

private:
    TEMFExportFormat& FFormat;
};

}  // namespace cb::chartexport
