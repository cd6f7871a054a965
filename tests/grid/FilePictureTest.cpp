// Pictures named by file: read through the runtime's checked open, so a FIFO
// in a picture's place gives an error instead of hanging the grid.
#include "grid/paint/FilePicture.h"
#include "platform/rtl/Exception.h"
#include "tests/common/TestSupport.h"

#include <QImage>

#include <gtest/gtest.h>

#include <sys/stat.h>

using cb::grid::TFilePicture;

TEST(FilePicture, SizeOfAPictureAndErrorsForFifosAndMissingFiles) {
    cbtest::TempDir dir;
    const std::string png = dir.file("p.png"), fifo = dir.file("fifo.png");
    QImage img(7, 3, QImage::Format_RGB32);
    img.fill(Qt::red);
    ASSERT_TRUE(img.save(QString::fromStdString(png), "PNG"));
    TFilePicture picture;
    picture.SetFilename(png);
    EXPECT_EQ(picture.Width(), 7);
    EXPECT_EQ(picture.Height(), 3);

    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& bad : {fifo, dir.file("missing.png")}) {
        try {
            picture.SetFilename(bad);
            ADD_FAILURE() << bad;
        } catch (const cb::rtl::EInOutError& e) {
            EXPECT_NE(e.Message().find("\"" + bad + "\""), std::string::npos) << e.Message();
        }
    }
}
