// PDF output of drawn pages: QPdfWriter into memory, then the one save routine, so a printer's
// failure half-way never leaves half a file where the user's old PDF was.
#include "platform/qt/PdfPages.h"

#include "platform/qt/QtMirror.h"
#include "platform/win/PdfWriterHook.h"
#include "platform/win/SaveFile.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace kxqt {

bool writePdfPages(const std::string& path, const PdfPageFormat& format, int pageCount,
                   const std::function<std::vector<kxwin::DrawOp>(int)>& page, std::string* error)
{
    auto failWith = [&](const std::string& why) {
        if (error)
            *error = why;
        return false;
    };
    if (QGuiApplication::instance() == nullptr)
        return failWith("Qt is not started");
    if (pageCount < 1)
        return failWith("nothing to print");
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(format.dotsPerInch);
        writer.setCreator(QStringLiteral("kestra-ss"));
        writer.setTitle(QString::fromStdString(format.title));
        const QPageSize size(QSizeF(format.widthMm, format.heightMm), QPageSize::Millimeter);
        writer.setPageLayout(QPageLayout(size, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
        QPainter painter;
        if (!painter.begin(&writer))
            return failWith("the PDF writer cannot start");
        for (int i = 0; i < pageCount; ++i) {
            if (i > 0 && !writer.newPage()) {
                painter.end();
                return failWith("the PDF writer cannot add page " + std::to_string(i + 1));
            }
            replayDrawOps(painter, page(i));
        }
        if (!painter.end())
            return failWith("the PDF writer failed");
    }
    std::string why;
    if (!kxwin::saveFileAtomically(path, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), why))
        return failWith(why);
    return true;
}

kxwin::BitmapPixels renderPagePixels(const PdfPageFormat& format, const std::vector<kxwin::DrawOp>& ops, int width,
                                     int height)
{
    if (QGuiApplication::instance() == nullptr || width < 1 || height < 1)
        return {};
    QImage image(width, height, QImage::Format_RGBA8888);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        const double pageW = format.widthMm / 25.4 * format.dotsPerInch;
        const double pageH = format.heightMm / 25.4 * format.dotsPerInch;
        painter.scale(width / pageW, height / pageH);
        replayDrawOps(painter, ops);
    }
    kxwin::BitmapPixels pixels;
    pixels.width = width;
    pixels.height = height;
    pixels.rgba.assign(image.constBits(), image.constBits() + static_cast<size_t>(width) * height * 4);
    return pixels;
}

} // namespace kxqt

namespace {

// Offers the writer to the module as soon as the backend's library is loaded; it works once Qt is
// started (it says so otherwise).
bool writeDocument(const std::string& path, const kxwin::PdfDocument& document, std::string* error)
{
    kxqt::PdfPageFormat format;
    format.widthMm = document.widthMm;
    format.heightMm = document.heightMm;
    format.dotsPerInch = document.dotsPerInch;
    format.title = document.title;
    return kxqt::writePdfPages(path, format, document.pageCount, document.page, error);
}

const bool g_registered = (kxwin::setPdfWriter(&writeDocument), true);

// The same drawing offered for the print preview's pictures.
kxwin::BitmapPixels renderDocumentPage(const kxwin::PdfDocument& document, const std::vector<kxwin::DrawOp>& ops,
                                       int width, int height)
{
    kxqt::PdfPageFormat format;
    format.widthMm = document.widthMm;
    format.heightMm = document.heightMm;
    format.dotsPerInch = document.dotsPerInch;
    return kxqt::renderPagePixels(format, ops, width, height);
}

const bool g_rendererRegistered = (kxwin::setPagePixelsRenderer(&renderDocumentPage), true);

} // namespace
