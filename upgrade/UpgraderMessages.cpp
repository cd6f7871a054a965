#include "upgrade/UpgraderMessages.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace cb::upgrade {

namespace {

// The English block; the other languages use it until they are translated.
const char* const kEnglish[32] = {
    "Application update wizard",
    "Downloading files...",
    "Download completed!",
    "Current file",
    "All files",
    "Downloading file from",
    "File size: %.1f Kb",
    "Transfer rate: %.1f Kb/s",
    "Estimated time left: %d:%.2d:%.2d",
    "Downloading %d of %d",
    "The %s update has been successfully downloaded.\r\rPress the OK button to install the update and restart the "
    "program.",
    "Enter password",
    "User Name",
    "Password",
    "&Yes",
    "&No",
    "&OK",
    "&Cancel",
    "&Next >",
    "&Later",
    "Warning",
    "Error",
    "Preparing. . .",
    "A newer version of %s is available.\n%s\nDo you want to update your version with the latest one?",
    "Newer version not found. You actually are\rusing most recent version of this program.",
    "File which contains upgrade information was not found on developer's site.",
    "Host %s unreachable.\r\rPlease check your Internet connection and\rtry to upgrade this software again later.",
    "The update is not completed.\rWould you like to abort upgrading?",
    "File %s not found or inaccessible.\r\rTry to skip this file and continue upgrade?",
    "Access to remote file \"%s\" is password protected.\n\nPlease enter your username and password (received after "
    "registration) to continue software upgrade.",
    "Can't store downloaded file to hard disk.\rContinue application upgrade?",
    "Connection with remote server lost.\r\rPlease restore connection and try to\rupgrade this software again later.",
};

std::atomic<int> GLanguage{static_cast<int>(TNetUpgraderLanguage::wlEnglish)};

}  // namespace

TNetUpgraderLanguage AutoLanguage() {
    const char* locale = nullptr;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* v = std::getenv(name);
        if (v && *v) {
            locale = v;
            break;
        }
    }
    if (!locale) return TNetUpgraderLanguage::wlEnglish;
    std::string l = locale;
    std::string lang = l.substr(0, l.find_first_of("_.@"));
    std::string region = l.size() > lang.size() && l[lang.size()] == '_' ? l.substr(lang.size() + 1, 2) : "";
    using L = TNetUpgraderLanguage;
    if (lang == "pt") return region == "BR" ? L::wlPortugueseBrazilian : L::wlPortuguese;
    if (lang == "zh") return region == "CN" || region == "SG" ? L::wlChineseSimplified : L::wlChineseTraditional;
    struct {
        const char* code;
        L language;
    } const map[] = {{"en", L::wlEnglish},   {"ru", L::wlRussian},    {"de", L::wlGerman},    {"fr", L::wlFrench},
                     {"es", L::wlSpanish},   {"it", L::wlItalian},    {"nl", L::wlDutch},     {"da", L::wlDanish},
                     {"sv", L::wlSwedish},   {"et", L::wlEstonian},   {"uk", L::wlUkrainian}, {"cs", L::wlCzech},
                     {"hu", L::wlHungarian}, {"ro", L::wlRomanian},   {"ca", L::wlCatalan},   {"eu", L::wlBasque},
                     {"af", L::wlAfrikaans}, {"id", L::wlIndonesian}, {"ms", L::wlMalay}};
    for (const auto& m : map)
        if (lang == m.code) return m.language;
    return L::wlEnglish;
}

void SetUpgraderLanguage(TNetUpgraderLanguage Language) {
    if (Language == TNetUpgraderLanguage::wlAuto) Language = AutoLanguage();
    GLanguage = static_cast<int>(Language);
}

TNetUpgraderLanguage UpgraderLanguage() {
    return static_cast<TNetUpgraderLanguage>(GLanguage.load());
}

int MessageBase() {
    return 41000 + 50 * (GLanguage - 1);
}

std::string LoadMessage(int N) {
    if (N < 0 || N >= 32) return {};
    return kEnglish[N];
}

std::string AppTitlePlaceholder() {
    return "<AppTitle>";
}

std::string UpgraderBanner() {
    return "Upgrader";
}

}  // namespace cb::upgrade
