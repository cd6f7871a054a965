// Figures for hostile settings and formats: an INI file of 100,000 sections
// (a saved-connection list) read and looked up section by section, and
// 1,000,000 cells formatted with a 255-character picture, parsed per cell
// and parsed once.
#include "platform/rtl/FormatFloat.h"
#include "platform/rtl/IniFile.h"

#include <chrono>
#include <cstdio>
#include <string>

using namespace cb::rtl;

namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace

int main() {
    const int sections = 100000;
    std::string text = "[Connections]\r\nNumConnections=" + std::to_string(sections) + "\r\n";
    for (int i = 1; i <= sections; ++i)
        text += "[Connection" + std::to_string(i) + "]\r\nConnectionName=n" + std::to_string(i) +
                "\r\nConnectionHost=h\r\nConnectionPort=2383\r\n";
    auto t0 = std::chrono::steady_clock::now();
    TMemIniFile ini("");
    ini.SetText(text);
    long ports = 0;
    for (int i = 1; i <= sections; ++i) {
        const std::string s = "Connection" + std::to_string(i);
        if (ini.SectionExists(s)) ports += ini.ReadInteger(s, "ConnectionPort", -1);
    }
    std::printf("ini: %d sections read and looked up in %.3f s (check %ld)\n", sections, Seconds(t0), ports);
    t0 = std::chrono::steady_clock::now();
    const auto names = ini.ReadSections();
    std::printf("ini: %zu section names listed in %.3f s\n", names.size(), Seconds(t0));

    const std::string picture = "#,##0.00" + std::string(240, 'x') + "\"!\"";
    const int cells = 1000000;
    t0 = std::chrono::steady_clock::now();
    std::size_t chars = 0;
    for (int i = 0; i < cells; ++i) chars += FormatMeasureValue(picture, i * 1.25).size();
    const double perCell = Seconds(t0);
    t0 = std::chrono::steady_clock::now();
    const TMeasureFormat once(picture);
    for (int i = 0; i < cells; ++i) chars += once.Format(i * 1.25).size();
    std::printf("format: %d cells, %zu-character picture: parsed per cell %.3f s, parsed once %.3f s (%zu)\n", cells,
                picture.size(), perCell, Seconds(t0), chars);
    return 0;
}
