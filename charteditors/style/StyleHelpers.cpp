#include "charteditors/style/StyleHelpers.h"

#include "chart/panel/BackImage.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/GdiObjects.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/FileIO.h"

#include <QBuffer>
#include <QByteArray>
#include <QFileDialog>
#include <QFontDialog>
#include <QImage>
#include <QImageReader>
#include <QMessageBox>
#include <QPainter>


namespace cb::charteditors {

namespace {

// Pictures larger than this (file bytes, or pixels per side) are refused
// before anything is allocated for them.
constexpr std::size_t MaxPictureFileSize = 64u * 1024u * 1024u;
constexpr int MaxPictureSide = 16384;

TPictureFileChooser& Chooser() {
    static TPictureFileChooser chooser;
    return chooser;
}

TPictureErrorSink& ErrorSink() {
    static TPictureErrorSink sink;
    return sink;
}

QFont ToQFont(const cb::gfx::TFont& f) {
    QFont q(QString::fromStdString(f.Name()));
    q.setPointSize(std::max(1, f.Size()));
    q.setBold(f.Bold());
    q.setItalic(f.Italic());
    q.setUnderline(f.Underline());
    q.setStrikeOut(f.StrikeOut());
    return q;
}

}  // namespace

bool EditFont(QWidget* form, cb::gfx::TFont& font) {
    QFontDialog dialog(ToQFont(font), form);
    dialog.setWindowTitle("Font");
    if (dialog.exec() != QDialog::Accepted) return false;
    const QFont chosen = dialog.selectedFont();
    cb::gfx::TFontStyles style = 0;
    if (chosen.bold()) style |= cb::gfx::fsBold;
    if (chosen.italic()) style |= cb::gfx::fsItalic;
    if (chosen.underline()) style |= cb::gfx::fsUnderline;
    if (chosen.strikeOut()) style |= cb::gfx::fsStrikeOut;
    font.BeginUpdate();
    font.SetName(chosen.family().toStdString());
    if (chosen.pointSize() > 0) font.SetSize(chosen.pointSize());
    font.SetStyle(style);
    font.EndUpdate();
    return true;
}

void SetPictureFileChooser(TPictureFileChooser chooser) {
    Chooser() = std::move(chooser);
}

std::string ChoosePictureFile(QWidget* form) {
    if (Chooser()) return Chooser()(form);
    return QFileDialog::getOpenFileName(form, "Open", QString(),
                                        "Pictures (*.bmp *.png *.jpg *.jpeg *.gif *.ico *.xpm *.svg);;All files (*)")
        .toStdString();
}

std::unique_ptr<cb::gfx::TBitmap> LoadPictureBitmap(const std::string& fileName) {
    std::string data;
    if (!cb::rtl::ReadFileBytes(fileName, data, MaxPictureFileSize))
        throw cb::rtl::EInOutError("Picture file \"" + fileName + "\" does not exist");
    QByteArray bytes(data.data(), qsizetype(data.size()));
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > MaxPictureSide || size.height() > MaxPictureSide))
        throw cb::rtl::EInOutError("Picture \"" + fileName + "\" is too large (" + std::to_string(size.width()) + " x " +
                                   std::to_string(size.height()) + ")");
    QImage image;
    if (!reader.read(&image) || image.isNull())
        throw cb::rtl::EInOutError("Cannot read picture \"" + fileName + "\": " + reader.errorString().toStdString());
    if (image.width() > MaxPictureSide || image.height() > MaxPictureSide)
        throw cb::rtl::EInOutError("Picture \"" + fileName + "\" is too large");
    // Pictures with transparent parts are drawn onto white, as onto a new
    // bitmap.
    if (image.hasAlphaChannel()) {
        QImage flat(image.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        QPainter(&flat).drawImage(0, 0, image);
        image = flat;
    }
    auto bitmap = std::make_unique<cb::gfx::TBitmap>();
    bitmap->SetImage(image);
    return bitmap;
}

void SetPictureErrorSink(TPictureErrorSink sink) {
    ErrorSink() = std::move(sink);
}

void ShowPictureError(QWidget* form, const std::string& message) {
    if (ErrorSink()) {
        ErrorSink()(message);
        return;
    }
    QMessageBox box(QMessageBox::Warning, QString(), QString::fromStdString(message), QMessageBox::Ok, form);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void ToggleBackImage(QWidget* form, cb::chart::TBackImage& picture) {
    if (picture.HasGraphic()) {
        picture.SetGraphic(nullptr);
        return;
    }
    const std::string file = ChoosePictureFile(form);
    if (file.empty()) return;
    try {
        std::unique_ptr<cb::gfx::TBitmap> bitmap = LoadPictureBitmap(file);
        picture.SetGraphic(bitmap.get());
    } catch (const cb::rtl::Exception& e) {
        ShowPictureError(form, e.what());
    }
}

}  // namespace cb::charteditors
