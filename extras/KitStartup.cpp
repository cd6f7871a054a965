#include "extras/KitStartup.h"

#include "extras/KitBlend.h"
#include "extras/KitCpuInfo.h"
#include "extras/KitSysInfo.h"
#include "platform/rtl/FormatSettings.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace cb::extras {

namespace {

bool& FourDigitYearFlag() {
    static bool flag = false;
    return flag;
}

}  // namespace

const TKitMatrix& IdentityMatrix() {
    static const TKitMatrix m = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    return m;
}

const std::array<std::uint8_t, 256>& GammaTable() {
    static const auto table = [] {
        std::array<std::uint8_t, 256> t{};
        for (int i = 0; i < 256; ++i) t[i] = std::uint8_t(std::lround(255.0 * std::pow(i / 255.0, 0.7)));
        return t;
    }();
    return table;
}

QCursor KitCursor(int Slot) {
    switch (Slot) {
    case crKitHand:
        return QCursor(Qt::PointingHandCursor);
    case crKitDrag:
        return QCursor(Qt::DragMoveCursor);
    default:
        return QCursor(Qt::ArrowCursor);
    }
}

const char* KitIconClipboardFormat() {
    return "image/x-icon";
}

bool HasFourDigitYear(const std::string& ShortDateFormat) {
    std::string upper = ShortDateFormat;
    std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    return upper.find("YYYY") != std::string::npos;
}

bool FourDigitYear() {
    return FourDigitYearFlag();
}

void KitStartup() {
    SystemInfoSetup();
    CpuIdentify();
    BlendRoutinesSetup(KitCpuHasMMX());
    (void)IdentityMatrix();
    (void)GammaTable();
    FourDigitYearFlag() = HasFourDigitYear(cb::rtl::FormatSettings().ShortDateFormat);
}

void KitShutdown() {
    BlendRoutinesCleanup();
}

}  // namespace cb::extras
