#pragma once
// The records of a hyperlink cell.
namespace cb::tabexport {

class TBiffOut;
struct TxlsHyperlink;

// HLINK and, with a screen tip, HLINKTOOLTIP.
void WriteHyperlink(TBiffOut& Out, const TxlsHyperlink& Link);

}  // namespace cb::tabexport
