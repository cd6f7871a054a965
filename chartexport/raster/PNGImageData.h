#pragma once
// The image data of an 8-bit RGB PNG: every row filtered with "up" and the
// whole compressed as one zlib stream. Large pictures are compressed in
// strips on several threads at the same level, each strip primed with the
// 32 KiB before it and ended by a sync flush, so the stream is one ordinary
// zlib stream of about the size a single pass gives.
#include <QImage>

#include <string>

namespace cb::chartexport {

// rgb32: a Format_RGB32 picture. level: zlib level 0..9. threads: at most
// this many (0: one per processor); a strip has at least 64 rows.
// Raises EExportError when zlib fails.
std::string CompressPNGImageData(const QImage& rgb32, int level, int threads = 0);

}  // namespace cb::chartexport
