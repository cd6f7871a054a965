#include "app/ui/dialogs/OpenCubeDialog.h"

#include "app/core/cube/CubeConnection.h"
#include "app/core/settings/OLAPConnectionList.h"
#include "olap/xmla/XmlaProvider.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/Strings.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace cb::app {

const char* const TfrmOpenCube::CubeFileFilter = "Cube files (*.cub)";

std::string TfrmOpenCube::ServerNameOf(const TOLAPConnection& connection) {
    const std::string host = cb::rtl::Trim(connection.ConnectionHost);
    if (host.find("://") != std::string::npos || connection.ConnectionPort < 0) return host;
    return host + ":" + std::to_string(connection.ConnectionPort);
}

TfrmOpenCube::TfrmOpenCube(const TOLAPConnectionList* connections, const std::string& initialFile, TAppContext context,
                           QWidget* parent)
    : TContentForm(parent), FContext(context) {
    setObjectName("frmOpenCube");
    setWindowFlags(kDialogFlags);
    setWindowTitle("Open Cube");
    resize(480, 460);
    auto* grid = new QGridLayout(this);
    grid->setColumnStretch(1, 1);

    rbLocalFile = new QRadioButton("Local cube &file:", this);
    rbLocalFile->setObjectName("rbLocalFile");
    rbLocalFile->setChecked(true);
    grid->addWidget(rbLocalFile, 0, 0, 1, 3);
    edtFileName = new QLineEdit(QString::fromStdString(initialFile), this);
    edtFileName->setObjectName("edtFileName");
    grid->addWidget(edtFileName, 1, 0, 1, 2);
    btnBrowse = new QPushButton("&Browse...", this);
    grid->addWidget(btnBrowse, 1, 2);

    rbServer = new QRadioButton("&Analysis server:", this);
    rbServer->setObjectName("rbServer");
    grid->addWidget(rbServer, 2, 0, 1, 3);
    auto* savedLabel = new QLabel("Sa&ved connections:", this);
    grid->addWidget(savedLabel, 3, 0, 1, 3);
    lstConnections = new QListWidget(this);
    lstConnections->setObjectName("lstConnections");
    savedLabel->setBuddy(lstConnections);
    if (connections)
        for (int i = 0; i < connections->GetCount(); ++i) {
            const TOLAPConnection* c = connections->GetConnection(i);
            FServerNames.push_back(ServerNameOf(*c));
            const std::string name = c->ConnectionName.empty() ? c->ConnectionHost : c->ConnectionName;
            lstConnections->addItem(QString::fromStdString(name + "  (" + FServerNames.back() + ")"));
        }
    grid->addWidget(lstConnections, 4, 0, 1, 3);

    auto* serverLabel = new QLabel("&Server:", this);
    grid->addWidget(serverLabel, 5, 0);
    edtServer = new QLineEdit(this);
    edtServer->setObjectName("edtServer");
    edtServer->setPlaceholderText("host:port or http://host:port/xmla");
    serverLabel->setBuddy(edtServer);
    grid->addWidget(edtServer, 5, 1);
    btnConnect = new QPushButton("&Connect", this);
    grid->addWidget(btnConnect, 5, 2);
    auto* catalogLabel = new QLabel("Ca&talog:", this);
    grid->addWidget(catalogLabel, 6, 0);
    cmbCatalog = new QComboBox(this);
    cmbCatalog->setObjectName("cmbCatalog");
    catalogLabel->setBuddy(cmbCatalog);
    grid->addWidget(cmbCatalog, 6, 1, 1, 2);
    auto* cubeLabel = new QLabel("C&ube:", this);
    grid->addWidget(cubeLabel, 7, 0, Qt::AlignTop);
    lstCubes = new QListWidget(this);
    lstCubes->setObjectName("lstCubes");
    cubeLabel->setBuddy(lstCubes);
    grid->addWidget(lstCubes, 7, 1, 1, 2);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    btnOK = new QPushButton("&Open", this);
    btnOK->setDefault(true);
    btnCancel = new QPushButton("Cancel", this);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    grid->addLayout(buttons, 8, 0, 1, 3);

    connect(btnBrowse, &QPushButton::clicked, this, &TfrmOpenCube::btnBrowseClick);
    connect(btnOK, &QPushButton::clicked, this, &TfrmOpenCube::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnConnect, &QPushButton::clicked, this, &TfrmOpenCube::btnConnectClick);
    connect(lstConnections, &QListWidget::itemClicked, this, &TfrmOpenCube::lstConnectionsClick);
    connect(lstConnections, &QListWidget::itemActivated, this, &TfrmOpenCube::lstConnectionsClick);
    connect(cmbCatalog, &QComboBox::currentIndexChanged, this, &TfrmOpenCube::cmbCatalogChange);
    connect(lstCubes, &QListWidget::itemDoubleClicked, this, &TfrmOpenCube::btnOKClick);
    connect(rbLocalFile, &QRadioButton::toggled, this, &TfrmOpenCube::UpdateMode);
    // Typing in a section chooses it.
    connect(edtFileName, &QLineEdit::textEdited, rbLocalFile, [this] { rbLocalFile->setChecked(true); });
    connect(edtServer, &QLineEdit::textEdited, rbServer, [this] { rbServer->setChecked(true); });
    connect(edtServer, &QLineEdit::returnPressed, this, &TfrmOpenCube::btnConnectClick);
    UpdateMode();
}

TfrmOpenCube::~TfrmOpenCube() = default;

void TfrmOpenCube::UpdateMode() {
    const bool server = rbServer->isChecked();
    edtFileName->setEnabled(!server);
    btnBrowse->setEnabled(!server);
    // The server's fields stay usable: choosing one chooses the server.
    // Enter in the address field connects rather than opens.
    btnOK->setDefault(!server);
    btnOK->setAutoDefault(!server);
}

std::string TfrmOpenCube::FileName() const {
    return cb::rtl::Trim(edtFileName->text().toStdString());
}

std::string TfrmOpenCube::CubeName() const {
    if (!ServerChosen() || !lstCubes->currentItem()) return {};
    return lstCubes->currentItem()->text().toStdString();
}

bool TfrmOpenCube::ServerChosen() const {
    return rbServer->isChecked();
}

void TfrmOpenCube::btnBrowseClick() {
    std::string chosen;
    if (OnChooseFile) {
        chosen = OnChooseFile(FileName());
    } else {
        const QString start = QFileInfo(QString::fromStdString(FileName())).absolutePath();
        chosen = QFileDialog::getOpenFileName(this, "Open Cube", start, CubeFileFilter).toStdString();
    }
    if (!chosen.empty()) {
        edtFileName->setText(QString::fromStdString(chosen));
        rbLocalFile->setChecked(true);
    }
}

void TfrmOpenCube::lstConnectionsClick() {
    const int row = lstConnections->currentRow();
    if (row < 0 || row >= static_cast<int>(FServerNames.size())) return;
    rbServer->setChecked(true);
    edtServer->setText(QString::fromStdString(FServerNames[static_cast<size_t>(row)]));
    btnConnectClick();
}

void TfrmOpenCube::btnConnectClick() {
    rbServer->setChecked(true);
    const std::string server = cb::rtl::Trim(edtServer->text().toStdString());
    FListing = true;
    cmbCatalog->clear();
    lstCubes->clear();
    FListing = false;
    if (server.empty()) {
        FContext.ShowError("Please enter the analysis server's address.");
        return;
    }
    std::vector<std::string> catalogs;
    try {
        FContext.SetBusy(true);
        const auto idle = cb::rtl::OnScopeExit([this] { FContext.SetBusy(false); });
        catalogs = cb::olap::xmla::ListCatalogs(server);
    } catch (const std::exception& e) {
        FContext.ShowError(e.what());
        return;
    }
    if (catalogs.empty()) {
        FContext.ShowError("The analysis server " + server + " has no catalogs.");
        return;
    }
    FListing = true;
    for (const std::string& c : catalogs) cmbCatalog->addItem(QString::fromStdString(c));
    FListing = false;
    cmbCatalog->setCurrentIndex(0);
    ListCubes();
}

void TfrmOpenCube::cmbCatalogChange() {
    if (!FListing) ListCubes();
}

void TfrmOpenCube::ListCubes() {
    lstCubes->clear();
    const std::string server = cb::rtl::Trim(edtServer->text().toStdString());
    const std::string catalog = cmbCatalog->currentText().toStdString();
    if (server.empty() || cmbCatalog->currentIndex() < 0) return;
    std::vector<std::string> cubes;
    try {
        FContext.SetBusy(true);
        const auto idle = cb::rtl::OnScopeExit([this] { FContext.SetBusy(false); });
        cubes = cb::olap::xmla::ListCubes(server, catalog);
    } catch (const std::exception& e) {
        FContext.ShowError(e.what());
        return;
    }
    for (const std::string& c : cubes) lstCubes->addItem(QString::fromStdString(c));
    if (lstCubes->count() > 0) lstCubes->setCurrentRow(0);
}

void TfrmOpenCube::btnOKClick() {
    if (ServerChosen()) {
        if (cb::rtl::Trim(edtServer->text().toStdString()).empty()) {
            FContext.ShowError("Please choose an analysis server.");
            return;
        }
        if (CubeName().empty()) {
            FContext.ShowError(cmbCatalog->count() == 0 ? "Please connect to the analysis server and choose a cube."
                                                        : "Please choose a cube to open.");
            return;
        }
        accept();
        return;
    }
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
    if (ServerChosen()) {
        description->ConnectionType = TConnectionType::ctAnalysisServer;
        description->ServerName = cb::rtl::Trim(edtServer->text().toStdString());
        description->Catalog = cmbCatalog->currentText().toStdString();
        return description;
    }
    description->ConnectionType = TConnectionType::ctLocalCubeFile;
    description->SetFileName(FileName());
    return description;
}

}  // namespace cb::app
