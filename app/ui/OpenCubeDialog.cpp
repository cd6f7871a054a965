#include "app/ui/OpenCubeDialog.h"

#include "app/core/CubeConnection.h"
#include "app/core/OLAPConnectionList.h"
#include "platform/rtl/Strings.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace cb::app {

const char* const TfrmOpenCube::CubeFileFilter = "Cube files (*.cub)";

TfrmOpenCube::TfrmOpenCube(const TOLAPConnectionList* connections, const std::string& initialFile, TAppContext context,
                           QWidget* parent)
    : TContentForm(parent), FContext(context) {
    setObjectName("frmOpenCube");
    setWindowTitle("Open Cube");
    resize(460, 320);
    auto* grid = new QGridLayout(this);

    grid->addWidget(new QLabel("Local cube &file:", this), 0, 0, 1, 2);
    edtFileName = new QLineEdit(QString::fromStdString(initialFile), this);
    edtFileName->setObjectName("edtFileName");
    static_cast<QLabel*>(grid->itemAtPosition(0, 0)->widget())->setBuddy(edtFileName);
    grid->addWidget(edtFileName, 1, 0);
    btnBrowse = new QPushButton("&Browse...", this);
    grid->addWidget(btnBrowse, 1, 1);

    auto* serversLabel = new QLabel("&Saved server connections:", this);
    grid->addWidget(serversLabel, 2, 0, 1, 2);
    lstConnections = new QListWidget(this);
    lstConnections->setObjectName("lstConnections");
    serversLabel->setBuddy(lstConnections);
    if (connections)
        for (int i = 0; i < connections->GetCount(); ++i) {
            const TOLAPConnection* c = connections->GetConnection(i);
            std::string text = c->ConnectionName.empty() ? c->ConnectionHost : c->ConnectionName;
            text += "  (" + c->ConnectionHost;
            if (c->ConnectionPort >= 0) text += ":" + std::to_string(c->ConnectionPort);
            text += ")";
            lstConnections->addItem(QString::fromStdString(text));
        }
    grid->addWidget(lstConnections, 3, 0, 1, 2);
    auto* note = new QLabel("Opening a cube on an analysis server is not available in this version.", this);
    note->setWordWrap(true);
    grid->addWidget(note, 4, 0, 1, 2);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    btnOK = new QPushButton("&Open", this);
    btnOK->setDefault(true);
    btnCancel = new QPushButton("Cancel", this);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    grid->addLayout(buttons, 5, 0, 1, 2);

    connect(btnBrowse, &QPushButton::clicked, this, &TfrmOpenCube::btnBrowseClick);
    connect(btnOK, &QPushButton::clicked, this, &TfrmOpenCube::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TfrmOpenCube::~TfrmOpenCube() = default;

std::string TfrmOpenCube::FileName() const {
    return cb::rtl::Trim(edtFileName->text().toStdString());
}

void TfrmOpenCube::btnBrowseClick() {
    std::string chosen;
    if (OnChooseFile) {
        chosen = OnChooseFile(FileName());
    } else {
        const QString start = QFileInfo(QString::fromStdString(FileName())).absolutePath();
        chosen = QFileDialog::getOpenFileName(this, "Open Cube", start, CubeFileFilter).toStdString();
    }
    if (!chosen.empty()) edtFileName->setText(QString::fromStdString(chosen));
}

void TfrmOpenCube::btnOKClick() {
    const std::string file = FileName();
    if (file.empty()) {
        FContext.ShowError("Please choose a local cube file to open.");
        return;
    }
    const QFileInfo info(QString::fromStdString(file));
    if (!info.exists() || !info.isFile()) {
        FContext.ShowError("The cube file \"" + file + "\" does not exist.");
        return;
    }
    accept();
}

std::unique_ptr<TCubeConnectionString> TfrmOpenCube::GetDescription() const {
    auto description = std::make_unique<TCubeConnectionString>();
    description->ConnectionType = ctLocalCubeFile;
    description->SetFileName(FileName());
    return description;
}

}  // namespace cb::app
