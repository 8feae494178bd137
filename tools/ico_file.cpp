#include "ico_file.h"

#include <cstdint>
#include <stdexcept>

namespace tallowby::tools {
namespace {

void put(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// BITMAPINFOHEADER, colour rows bottom-up, then the 1-bit AND mask (1 = transparent), whose rows
// are padded to whole 32-bit words. The header's height counts both halves.
std::string bitmapOf(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int size = image.width();
    const int maskStride = ((size + 31) / 32) * 4;
    std::string out;
    put(out, 40, 4);
    put(out, static_cast<std::uint32_t>(size), 4);
    put(out, static_cast<std::uint32_t>(2 * size), 4);
    put(out, 1, 2);  // planes
    put(out, 32, 2); // bits per pixel
    put(out, 0, 4);  // BI_RGB
    put(out, static_cast<std::uint32_t>(size * size * 4 + maskStride * size), 4);
    put(out, 0, 4);
    put(out, 0, 4);
    put(out, 0, 4);
    put(out, 0, 4);
    for (int y = size - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < size; ++x)
            put(out, row[x], 4); // 0xAARRGGBB little-endian is B, G, R, A
    }
    for (int y = size - 1; y >= 0; --y) {
        std::string maskRow(static_cast<std::size_t>(maskStride), '\0');
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < size; ++x)
            if (qAlpha(row[x]) == 0)
                maskRow[static_cast<std::size_t>(x / 8)] |= static_cast<char>(0x80 >> (x % 8));
        out += maskRow;
    }
    return out;
}

} // namespace

std::string icoBytes(const std::vector<QImage>& images) {
    constexpr std::uint32_t kDirSize = 6;
    constexpr std::uint32_t kEntrySize = 16;
    std::vector<std::string> bitmaps;
    for (const QImage& image : images) {
        if (image.width() != image.height() || image.width() < 1 || image.width() > 256)
            throw std::invalid_argument("icon images must be square, 1 to 256 pixels");
        bitmaps.push_back(bitmapOf(image));
    }
    std::string out;
    put(out, 0, 2);
    put(out, 1, 2); // icon, not cursor
    put(out, static_cast<std::uint32_t>(images.size()), 2);
    auto offset = static_cast<std::uint32_t>(kDirSize + kEntrySize * images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const int size = images[i].width();
        put(out, size == 256 ? 0 : static_cast<std::uint32_t>(size), 1);
        put(out, size == 256 ? 0 : static_cast<std::uint32_t>(size), 1);
        put(out, 0, 1); // no palette
        put(out, 0, 1);
        put(out, 1, 2);  // planes
        put(out, 32, 2); // bits per pixel
        put(out, static_cast<std::uint32_t>(bitmaps[i].size()), 4);
        put(out, offset, 4);
        offset += static_cast<std::uint32_t>(bitmaps[i].size());
    }
    for (const std::string& bitmap : bitmaps)
        out += bitmap;
    return out;
}

} // namespace tallowby::tools
