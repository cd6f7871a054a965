#include "platform/desktop/Shell.h"

#include "platform/os/Files.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStringList>
#include <QUrl>

#include <optional>

namespace cb::os {

namespace {

bool HasScheme(const std::string& t) {
    // "scheme:" with a scheme of two or more letters ("c:" would be a drive).
    auto colon = t.find(':');
    if (colon == std::string::npos || colon < 2) return false;
    for (std::size_t i = 0; i < colon; ++i) {
        char c = t[i];
        bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                  (i > 0 && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'));
        if (!ok) return false;
    }
    return true;
}

// The trimmed output of a short query; nullopt when it did not run to a
// normal end within two seconds.
std::optional<std::string> Query(const QStringList& Args) {
    QProcess process;
    process.start("xdg-mime", Args);
    if (!process.waitForFinished(2000) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished(500);
        return std::nullopt;
    }
    if (process.exitCode() != 0) return std::nullopt;
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed().toStdString();
}

}  // namespace

bool HasOpenerFor(const std::string& File) {
    const std::optional<std::string> type = Query({"query", "filetype", QString::fromUtf8(File)});
    if (!type || type->empty()) return true;
    const std::optional<std::string> program = Query({"query", "default", QString::fromStdString(*type)});
    return !program || !program->empty();
}

bool ShellOpen(const std::string& Target) {
    if (Target.empty()) return false;
    QUrl url;
    if (HasScheme(Target)) {
        url = QUrl(QString::fromUtf8(Target), QUrl::TolerantMode);
        if (url.isLocalFile() && !FileExists(url.toLocalFile().toStdString()) &&
            !DirectoryExists(url.toLocalFile().toStdString()))
            return false;
    } else {
        if (!FileExists(Target) && !DirectoryExists(Target)) return false;
        url = QUrl::fromLocalFile(QString::fromUtf8(Target));
    }
    if (!url.isValid()) return false;
    return QDesktopServices::openUrl(url);
}

bool StartProcess(const std::string& Program, const std::vector<std::string>& Args, const std::string& WorkingDir) {
    if (Program.empty()) return false;
    QStringList args;
    for (const auto& a : Args) args << QString::fromUtf8(a);
    return QProcess::startDetached(QString::fromUtf8(Program), args, QString::fromUtf8(WorkingDir));
}

}  // namespace cb::os
