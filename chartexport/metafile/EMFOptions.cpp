#include "chartexport/metafile/EMFOptions.h"

#include "chartexport/metafile/EMFExportFormat.h"

#include <QCheckBox>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace cb::chartexport {

TEMFOptions::TEMFOptions(TEMFExportFormat& format) : FFormat(format) {
    auto* column = new QVBoxLayout(this);
    CBEnhanced = new QCheckBox(tr("&Enhanced"), this);
    column->addWidget(CBEnhanced);
    column->addStretch();
    Refresh();
    connect(CBEnhanced, &QCheckBox::toggled, this, [this](bool on) { FFormat.Enhanced = on; });
}

void TEMFOptions::Refresh() {
    const QSignalBlocker a(CBEnhanced);
    CBEnhanced->setChecked(FFormat.Enhanced);
}

}  // namespace cb::chartexport
