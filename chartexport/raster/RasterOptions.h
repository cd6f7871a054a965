#pragma once
// The options forms of the raster formats: JPEG, PNG, GIF and BMP.
#include "chartexport/core/ExportOptionsForm.h"

class QCheckBox;
class QComboBox;
class QRadioButton;
class QSpinBox;

namespace cb::chartexport {

class TJPEGExportFormat;
class TPNGExportFormat;
class TGIFExportFormat;
class TBMPExportFormat;

class TPlotJPEGOptions : public TExportOptionsForm {
public:
    explicit TPlotJPEGOptions(TJPEGExportFormat& format);
    void Refresh() override;

    QRadioButton* RBQuality;
    QRadioButton* RBSpeed;
    QCheckBox* CBGray;
    QSpinBox* EQuality;

private:
    TJPEGExportFormat& FFormat;
};

class TPlotPNGOptions : public TExportOptionsForm {
public:
    explicit TPlotPNGOptions(TPNGExportFormat& format);
    void Refresh() override;

    QSpinBox* ELevel;

private:
    TPNGExportFormat& FFormat;
};

class TPlotGIFOptions : public TExportOptionsForm {
public:
    explicit TPlotGIFOptions(TGIFExportFormat& format);
    void Refresh() override;

    QRadioButton* RBLZW;
    QRadioButton* RBRLE;
    QComboBox* CBDither;
    QComboBox* CBReduction;

private:
    TGIFExportFormat& FFormat;
};

class TBMPOptions : public TExportOptionsForm {
public:
    explicit TBMPOptions(TBMPExportFormat& format);
    void Refresh() override;

    QComboBox* CBColors;
    QCheckBox* CBMono;

private:
    TBMPExportFormat& FFormat;
};

}  // namespace cb::chartexport
