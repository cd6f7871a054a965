#include "platform/desktop/SaveDialog.h"

#include "platform/rtl/Strings.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>

namespace cb::os {

namespace {

std::string& LastFolder() {
    static std::string folder;
    return folder;
}

std::string DocumentsFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) folder = QDir::homePath();
    return folder.toStdString();
}

}  // namespace

std::string LastSaveFolder() {
    const std::string& folder = LastFolder();
    return !folder.empty() && QFileInfo(QString::fromStdString(folder)).isDir() ? folder : DocumentsFolder();
}

void RememberSaveFolder(const std::string& FileName) {
    const QFileInfo info(QString::fromStdString(FileName));
    if (info.absoluteDir().exists()) LastFolder() = info.absolutePath().toStdString();
}

std::string CompleteSaveFileName(const std::string& Typed, const std::vector<std::string>& Extensions,
                                 std::string& Error) {
    Error.clear();
    const std::string name = cb::rtl::Trim(Typed);
    if (name.empty() || Extensions.empty()) return name;
    QFileInfo info(QString::fromStdString(name));
    if (info.isRelative()) info = QFileInfo(QDir(QString::fromStdString(LastSaveFolder())), info.filePath());
    const QString suffix = info.suffix();
    std::string file = QDir::cleanPath(info.absoluteFilePath()).toStdString();
    if (suffix.isEmpty()) return file + "." + Extensions.front();
    for (const std::string& e : Extensions)
        if (cb::rtl::SameText(suffix.toStdString(), e)) return file;
    Error = "The name " + info.fileName().toStdString() + " ends in ." + suffix.toStdString() +
            ", which is not the format being saved. Use the extension ." + Extensions.front() + " or none.";
    return {};
}

std::string AskSaveFileName(QWidget* Parent, const TSaveFileRequest& Request) {
    QFileDialog dialog(Parent, QString::fromStdString(Request.Title), QString::fromStdString(LastSaveFolder()),
                       QString::fromStdString(Request.Filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!Request.Extensions.empty()) dialog.setDefaultSuffix(QString::fromStdString(Request.Extensions.front()));
    if (!Request.ConfirmOverwrite) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    for (;;) {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
        std::string error;
        const std::string file =
            CompleteSaveFileName(dialog.selectedFiles().front().toStdString(), Request.Extensions, error);
        if (!file.empty()) {
            RememberSaveFolder(file);
            return file;
        }
        QMessageBox::warning(&dialog, dialog.windowTitle(), QString::fromStdString(error));
    }
}

}  // namespace cb::os
