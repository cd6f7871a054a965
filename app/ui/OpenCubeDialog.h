#pragma once
// The window that opens another cube: a local cube file chosen with the
// file chooser (cube files only), and the saved analysis-server
// connections, listed for choosing once servers can be opened.
#include "app/core/AppContext.h"
#include "app/ui/ContentForm.h"

#include <functional>
#include <memory>
#include <string>

class QLineEdit;
class QListWidget;
class QPushButton;
class QLabel;

namespace cb::app {

class TCubeConnectionString;
class TOLAPConnectionList;

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

    // Asks for a cube file; empty when cancelled. Tests put their own here.
    std::function<std::string(const std::string& startFile)> OnChooseFile;

    QLineEdit* edtFileName;
    QPushButton* btnBrowse;
    QListWidget* lstConnections;
    QPushButton* btnOK;
    QPushButton* btnCancel;

    // The file chooser's filter.
    static const char* const CubeFileFilter;

public slots:
    void btnBrowseClick();
    void btnOKClick();

private:
    TAppContext FContext;
};

}  // namespace cb::app
