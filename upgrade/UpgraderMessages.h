#pragma once
// The texts of the upgrade component and its windows, by language and number.
#include <cstdio>
#include <string>

namespace cb::upgrade {

enum class TNetUpgraderLanguage {
    wlAuto,
    wlEnglish,
    wlRussian,
    wlGerman,
    wlFrench,
    wlSpanish,
    wlPortuguese,
    wlPortugueseBrazilian,
    wlItalian,
    wlDutch,
    wlDanish,
    wlSwedish,
    wlChineseTraditional,
    wlChineseSimplified,
    wlEstonian,
    wlUkrainian,
    wlCzech,
    wlHungarian,
    wlRomanian,
    wlCatalan,
    wlBasque,
    wlAfrikaans,
    wlIndonesian,
    wlMalay
};

// The language wlAuto stands for, from the user's locale (LC_ALL, LC_MESSAGES, LANG).
TNetUpgraderLanguage AutoLanguage();
// Sets the language of every upgrade component of the process (wlAuto is resolved).
void SetUpgraderLanguage(TNetUpgraderLanguage Language);
TNetUpgraderLanguage UpgraderLanguage();
// 41000 + 50 x (language - 1).
int MessageBase();

// Message n (0..31) of the current language.
std::string LoadMessage(int N);
// Strings of the windows: "<AppTitle>" and "Upgrader".
std::string AppTitlePlaceholder();
std::string UpgraderBanner();

// Message n with printf arguments (the placeholders of the table).
template <class... Args>
std::string FormatMessage(int N, Args... args) {
    std::string format = LoadMessage(N);
    int size = std::snprintf(nullptr, 0, format.c_str(), args...);
    if (size < 0) return format;
    std::string out(static_cast<size_t>(size) + 1, '\0');
    std::snprintf(out.data(), out.size(), format.c_str(), args...);
    out.resize(static_cast<size_t>(size));
    return out;
}

}  // namespace cb::upgrade
