#include "grid/settings/FloatingFooter.h"

namespace cb::grid {

using cb::rtl::SetProperty;

void TFloatingFooter::SetVisible(bool value) {
    SetProperty(FVisible, value, OnLayoutChange);
}

void TFloatingFooter::SetFooterStyle(TFooterStyle value) {
    SetProperty(FFooterStyle, value, OnLayoutChange);
}

void TFloatingFooter::SetColor(TColor value) {
    SetProperty(FColor, value, OnChange);
}

void TFloatingFooter::SetColumn(int value) {
    SetProperty(FColumn, value, OnChange);
}

void TFloatingFooter::SetCustomTemplate(const std::string& value) {
    SetProperty(FCustomTemplate, value, OnChange);
}

void TFloatingFooter::SetFooterHeight(int value) {
    SetProperty(FFooterHeight, value, OnLayoutChange);
}

}  // namespace cb::grid
