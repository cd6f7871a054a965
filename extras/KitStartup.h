#pragma once
// Values the extras prepare once when the program starts and release when
// it ends: system facts, processor, blend routines, the identity matrix and
// gamma table, the two cursors, the icon clipboard format and the
// four-digit-year flag.
#include <QCursor>

#include <array>
#include <cstdint>
#include <string>

namespace cb::extras {

// Cursor slots of the hand and the drag cursor.
enum : int {
    crKitHand = 14000,
    crKitDrag = 14001
};

using TKitMatrix = std::array<std::array<long double, 3>, 3>;

const TKitMatrix& IdentityMatrix();
// Entry i is round(255 * (i / 255)^0.7).
const std::array<std::uint8_t, 256>& GammaTable();
// The cursor of a slot (the arrow for a slot without one).
QCursor KitCursor(int Slot);
// The clipboard (MIME) type of icons.
const char* KitIconClipboardFormat();
// True when the short date format holds a four-digit year.
bool FourDigitYear();
bool HasFourDigitYear(const std::string& ShortDateFormat);

// Runs every start-up step in order; KitShutdown releases what they hold.
void KitStartup();
void KitShutdown();

}  // namespace cb::extras
