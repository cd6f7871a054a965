#pragma once
// The window that opens another cube: a local cube file chosen with the
// file chooser (cube files only), or a cube on an analysis server: a saved
// server connection (or an address typed in), one of the server's catalogs
// and one of its cubes.
#include "app/core/base/AppContext.h"
#include "app/ui/widgets/ContentForm.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace cb::app {

class TCubeConnectionString;
class TOLAPConnectionList;
struct TOLAPConnection;

class TfrmOpenCube : public TContentForm {
    Q_OBJECT
public:
    // The saved connections are listed, not owned; none lists nothing.
    // The file field starts with initialFile.
    TfrmOpenCube(const TOLAPConnectionList* connections, const std::string& initialFile, TAppContext context = {},
                 QWidget* parent = nullptr);
    ~TfrmOpenCube() override;

    // After the window ended with OK: the description of the chosen cube
    // (a copy of the window's own; the caller owns it).
    std::unique_ptr<TCubeConnectionString> GetDescription() const;
    std::string FileName() const;
    // The chosen server cube; empty for a local cube file.
    std::string CubeName() const;
    bool ServerChosen() const;

    // The server name a saved connection stands for: its host, with ":"
    // and the port when it has one (an http:// or https:// host as it is).
    static std::string ServerNameOf(const TOLAPConnection& connection);

    // Asks for a cube file; empty when cancelled. Tests put their own here.
    std::function<std::string(const std::string& startFile)> OnChooseFile;

    QRadioButton* rbLocalFile;
    QLineEdit* edtFileName;
    QPushButton* btnBrowse;
    QRadioButton* rbServer;
    QListWidget* lstConnections;
    QLineEdit* edtServer;
    QPushButton* btnConnect;
    QComboBox* cmbCatalog;
    QListWidget* lstCubes;
    QPushButton* btnOK;
    QPushButton* btnCancel;

    // The file chooser's filter.
    static const char* const CubeFileFilter;

public slots:
    void btnBrowseClick();
    void btnOKClick();
    // Lists the catalogs of the server in edtServer, then the first one's cubes.
    void btnConnectClick();
    void lstConnectionsClick();
    void cmbCatalogChange();

private:
    void ListCubes();
    void UpdateMode();

    TAppContext FContext;
    std::vector<std::string> FServerNames;  // of the saved connections, in list order
    bool FListing = false;
};

}  // namespace cb::app
