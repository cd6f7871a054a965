#pragma once
// The metafile export format: the chart as an enhanced metafile (EMF) or,
// with Enhanced off, a plain Windows metafile (WMF).
#include "chartexport/core/PlotExportFormat.h"

#include <string>

namespace cb::chartexport {

class TEMFExportFormat : public TPlotExportFormat {
public:
    bool Enhanced = true;

    std::string Description() const override { return "as &Metafile"; }
    std::string FileExtension() const override { return Enhanced ? "emf" : "wmf"; }
    std::string FileFilter() const override { return "Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf"; }
    // Two entries of a joined filter: EMF, then WMF.
    int FilterIndex() const override;
    void AssignFilterIndex(int& counter) override;
    // The second entry switches Enhanced off.
    bool OwnsFilterIndex(int index) override;
    void SaveToStream(cb::rtl::TStream& stream) override;
    QWidget* Options(bool create) override;
    // The file's bytes at Width x Height.
    std::string MakeMetafile();

protected:
    void DoCopyToClipboard() override;
};

}  // namespace cb::chartexport
