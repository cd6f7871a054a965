#include "chartexport/dialog/MailHandOver.h"

#include "chartexport/core/PlotExportFormat.h"
#include "platform/os/Files.h"

#include <filesystem>
#include <system_error>

namespace cb::chartexport {

namespace {
const char Prefix[] = "cb-mail-";
}

std::string NewMailHandOverFolder(std::chrono::hours maxAge) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const auto now = fs::file_time_type::clock::now();
    for (fs::directory_iterator it(cb::os::GetTempDirectory(), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.rfind(Prefix, 0) != 0 || !it->is_directory(ec) || it->is_symlink(ec)) continue;
        const auto changed = fs::last_write_time(it->path(), ec);
        if (!ec && now - changed > maxAge) cb::os::RemoveDirectoryTree(it->path().string());
    }
    try {
        return cb::os::CreateTempDirectory(Prefix);
    } catch (const std::exception&) {
        throw EExportError("Can not find Temp folder");
    }
}

}  // namespace cb::chartexport
