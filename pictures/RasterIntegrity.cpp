#include "pictures/RasterIntegrity.h"

#include <QtEndian>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <vector>

namespace zdawnik {

namespace {

const unsigned char* Bytes(QByteArrayView data)
{
    return reinterpret_cast<const unsigned char*>(data.data());
}

constexpr unsigned char PngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

QString CutShort(const char* format)
{
    return QStringLiteral("Damaged %1 file: it is cut short").arg(QLatin1String(format));
}

QString NotA(const char* format)
{
    return QStringLiteral("Not a %1 file").arg(QLatin1String(format));
}

} // namespace

QString CheckPngIntegrity(QByteArrayView data)
{
    const unsigned char* d = Bytes(data);
    const qsizetype n = data.size();
    if (n < 8 || std::memcmp(d, PngSignature, 8) != 0)
        return NotA("PNG");
    qsizetype pos = 8;
    for (;;) {
        if (n - pos < 12)
            return CutShort("PNG");
        const std::uint32_t length = qFromBigEndian<std::uint32_t>(d + pos);
        if (length > 0x7FFFFFFFu)
            return QStringLiteral("Damaged PNG file: a chunk has an impossible length");
        if (n - pos - 12 < qsizetype(length))
            return CutShort("PNG");
        if (std::memcmp(d + pos + 4, "IEND", 4) == 0)
            return {};
        pos += 12 + qsizetype(length);
    }
}

namespace {

// What a JPEG's frame header and scan headers tell about its image data.
class JpegFrame
{
public:
    // Reads a frame header (the segment after an SOFn marker); false when it is not whole.
    bool readFrame(unsigned char marker, const unsigned char* segment, qsizetype length)
    {
        if (m_read)
            return true; // a second frame belongs to a hierarchical file, which decoders refuse anyway
        if (length < 6 || length < 6 + 3 * qsizetype(segment[5]))
            return false;
        m_read = true;
        m_progressive = marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE;
        m_arithmetic = marker >= 0xC9;
        m_height = qFromBigEndian<std::uint16_t>(segment + 1);
        m_width = qFromBigEndian<std::uint16_t>(segment + 3);
        for (int i = 0; i < segment[5]; ++i) {
            const unsigned char* component = segment + 6 + 3 * i;
            m_components.push_back(
                {component[0], std::max(1, component[1] >> 4), std::max(1, component[1] & 15)});
        }
        return true;
    }

    // Takes note of a scan header and the length of the entropy-coded data after it; false when the
    // data cannot hold what the scan must code.
    bool readScan(const unsigned char* segment, qsizetype length, qsizetype dataBytes)
    {
        if (!m_read || m_width == 0 || m_height == 0 || length < 1)
            return true; // nothing to judge by: the decoder finds out for itself
        const int count = segment[0];
        if (length < 1 + 2 * qsizetype(count) + 3)
            return true;
        const bool firstCoefficient = segment[1 + 2 * count] == 0;
        if (!firstCoefficient)
            return true; // a later pass of a progressive file may code a run of empty blocks in a few bits
        std::int64_t blocks = 0;
        for (int i = 0; i < count; ++i) {
            for (Component& component : m_components) {
                if (component.id == segment[1 + 2 * i]) {
                    component.dcCoded = true;
                    blocks += Blocks(component);
                }
            }
        }
        // A Huffman code is at least one bit long, and a scan that holds the first coefficient
        // codes one for every block of its components. (Arithmetic coding may spend less.)
        return m_arithmetic || dataBytes * 8 >= blocks;
    }

    // False when a component never had its first coefficient coded: its picture is missing.
    bool everyComponentCoded() const
    {
        return std::all_of(m_components.begin(), m_components.end(),
                           [](const Component& component) { return component.dcCoded; });
    }

    // What a decoder holds while it reads a progressive file: every coefficient of the image, two
    // bytes each. Sequential files are decoded a row of blocks at a time.
    qint64 coefficientBytes() const
    {
        if (!m_progressive)
            return 0;
        qint64 bytes = 0;
        for (const Component& component : m_components)
            bytes += Blocks(component) * 64 * 2;
        return bytes;
    }

private:
    struct Component
    {
        int id = 0;
        int horizontal = 1; // sampling factors
        int vertical = 1;
        bool dcCoded = false;
    };

    std::int64_t Blocks(const Component& component) const
    {
        int largestHorizontal = 1;
        int largestVertical = 1;
        for (const Component& other : m_components) {
            largestHorizontal = std::max(largestHorizontal, other.horizontal);
            largestVertical = std::max(largestVertical, other.vertical);
        }
        const auto blocksAlong = [](std::int64_t pixels, int factor, int largest) {
            const std::int64_t samples = (pixels * factor + largest - 1) / largest;
            return (samples + 7) / 8;
        };
        return blocksAlong(m_width, component.horizontal, largestHorizontal) *
               blocksAlong(m_height, component.vertical, largestVertical);
    }

    bool m_read = false;
    bool m_progressive = false;
    bool m_arithmetic = false;
    int m_width = 0;
    int m_height = 0;
    std::vector<Component> m_components;
};

bool IsFrameMarker(unsigned char marker)
{
    // SOF0 to SOF15, but for DHT (C4), JPG (C8) and DAC (CC).
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

QString MissingImageData()
{
    return QStringLiteral("Damaged JPEG file: most of its image data is missing");
}

} // namespace

JpegWalk WalkJpeg(QByteArrayView data)
{
    const auto damaged = [](QString reason) { return JpegWalk{std::move(reason), 0}; };
    const unsigned char* d = Bytes(data);
    const qsizetype n = data.size();
    if (n < 4 || d[0] != 0xFF || d[1] != 0xD8)
        return damaged(NotA("JPEG"));
    qsizetype pos = 2;
    bool sawScan = false;
    JpegFrame frame;
    for (;;) {
        // The next marker. The decoder steps over stray bytes between segments, so this does too.
        if (pos >= n)
            return damaged(CutShort("JPEG"));
        if (d[pos] != 0xFF) {
            const void* next = std::memchr(d + pos, 0xFF, std::size_t(n - pos));
            if (!next)
                return damaged(CutShort("JPEG"));
            pos = static_cast<const unsigned char*>(next) - d;
        }
        while (pos < n && d[pos] == 0xFF)
            ++pos;
        if (pos >= n)
            return damaged(CutShort("JPEG"));
        const unsigned char marker = d[pos++];
        if (marker == 0xD9) {
            if (!sawScan)
                return damaged(QStringLiteral("Damaged JPEG file: it holds no image data"));
            if (!frame.everyComponentCoded())
                return damaged(MissingImageData());
            return {{}, frame.coefficientBytes()};
        }
        if (marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue; // standalone markers and stuffed bytes carry no length
        if (marker == 0xD8)
            return damaged(QStringLiteral("Damaged JPEG file: it starts over in the middle"));
        if (n - pos < 2)
            return damaged(CutShort("JPEG"));
        const std::uint16_t length = qFromBigEndian<std::uint16_t>(d + pos);
        if (length < 2)
            return damaged(QStringLiteral("Damaged JPEG file: a segment has an impossible length"));
        if (n - pos < length)
            return damaged(CutShort("JPEG"));
        const unsigned char* segment = d + pos + 2;
        const qsizetype segmentLength = length - 2;
        pos += length;
        if (IsFrameMarker(marker) && !frame.readFrame(marker, segment, segmentLength))
            return damaged(QStringLiteral("Damaged JPEG file: its frame header is cut short"));
        if (marker != 0xDA)
            continue;
        // Entropy-coded data follows a scan header. Inside it a 0xFF byte is followed by a stuffed
        // zero or a restart marker; anything else is the marker that ends the scan.
        sawScan = true;
        const qsizetype scanData = pos;
        for (;;) {
            const void* next = pos < n ? std::memchr(d + pos, 0xFF, std::size_t(n - pos)) : nullptr;
            if (!next)
                return damaged(CutShort("JPEG"));
            pos = static_cast<const unsigned char*>(next) - d;
            if (pos + 1 >= n)
                return damaged(CutShort("JPEG"));
            const unsigned char following = d[pos + 1];
            if (following == 0x00 || (following >= 0xD0 && following <= 0xD7))
                pos += 2;
            else if (following == 0xFF)
                pos += 1;
            else
                break;
        }
        if (!frame.readScan(segment, segmentLength, pos - scanData))
            return damaged(MissingImageData());
    }
}

QString CheckBmpIntegrity(QByteArrayView data)
{
    const unsigned char* d = Bytes(data);
    const qsizetype n = data.size();
    if (n < 18 || d[0] != 'B' || d[1] != 'M')
        return NotA("BMP");
    const std::uint32_t pixelOffset = qFromLittleEndian<std::uint32_t>(d + 10);
    const std::uint32_t headerSize = qFromLittleEndian<std::uint32_t>(d + 14);
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t bitsPerPixel = 0;
    std::uint32_t compression = 0;
    if (headerSize == 12) { // OS/2 1.x: 16-bit sizes, never compressed
        if (n < 26)
            return CutShort("BMP");
        width = qFromLittleEndian<std::uint16_t>(d + 18);
        height = qFromLittleEndian<std::uint16_t>(d + 20);
        bitsPerPixel = qFromLittleEndian<std::uint16_t>(d + 24);
    } else if (headerSize >= 16 && headerSize <= 1024) {
        if (n < 14 + qsizetype(headerSize))
            return CutShort("BMP");
        width = std::int32_t(qFromLittleEndian<std::uint32_t>(d + 18));
        height = std::int32_t(qFromLittleEndian<std::uint32_t>(d + 22));
        bitsPerPixel = qFromLittleEndian<std::uint16_t>(d + 28);
        compression = headerSize >= 20 ? qFromLittleEndian<std::uint32_t>(d + 30) : 0;
    } else {
        return QStringLiteral("Damaged BMP file: its header has an impossible size");
    }
    if (pixelOffset > std::uint64_t(n))
        return CutShort("BMP");

    constexpr std::uint32_t Rle8 = 1;
    constexpr std::uint32_t Rle4 = 2;
    constexpr std::uint32_t BitFields = 3;
    constexpr std::uint32_t AlphaBitFields = 6;
    if ((compression == Rle8 || compression == Rle4) && height < 0)
        return QStringLiteral("Damaged BMP file: compressed pixels cannot be stored top to bottom");
    // In the 64-byte OS/2 2.x header compression 3 means Huffman coding, not bit fields.
    const bool uncompressed =
        compression == 0 || ((compression == BitFields || compression == AlphaBitFields) && headerSize != 64);
    if (!uncompressed)
        return {}; // the length of compressed pixels cannot be known before decoding them
    if (bitsPerPixel == 0 || bitsPerPixel > 64)
        return {}; // not a depth the decoder reads; it refuses the file itself
    const std::uint64_t absWidth = std::uint64_t(width < 0 ? -width : width);
    const std::uint64_t absHeight = std::uint64_t(height < 0 ? -height : height);
    const std::uint64_t rowBytes = (absWidth * bitsPerPixel + 31) / 32 * 4; // at most 2^37
    const std::uint64_t available = std::uint64_t(n) - pixelOffset;
    if (absHeight > 0 && rowBytes > available / absHeight)
        return CutShort("BMP");
    return {};
}

QString CheckIcoIntegrity(QByteArrayView data)
{
    const unsigned char* d = Bytes(data);
    const qsizetype n = data.size();
    if (n < 6 || qFromLittleEndian<std::uint16_t>(d) != 0 ||
        (qFromLittleEndian<std::uint16_t>(d + 2) != 1 && qFromLittleEndian<std::uint16_t>(d + 2) != 2))
        return NotA("ICO");
    const qsizetype count = qFromLittleEndian<std::uint16_t>(d + 4);
    if (count == 0)
        return QStringLiteral("Damaged ICO file: it holds no image");
    if (n < 6 + 16 * count)
        return CutShort("ICO");
    for (qsizetype i = 0; i < count; ++i) {
        const unsigned char* entry = d + 6 + 16 * i;
        const std::uint64_t bytes = qFromLittleEndian<std::uint32_t>(entry + 8);
        const std::uint64_t offset = qFromLittleEndian<std::uint32_t>(entry + 12);
        if (bytes == 0 || offset + bytes > std::uint64_t(n))
            return CutShort("ICO");
    }
    return {};
}

QSize IcoImageSize(QByteArrayView data, qsizetype index, QSize reported)
{
    const unsigned char* d = Bytes(data);
    const qsizetype n = data.size();
    const qsizetype entryAt = 6 + 16 * index;
    if (index < 0 || n - 16 < entryAt)
        return {};
    const std::uint64_t bytes = qFromLittleEndian<std::uint32_t>(d + entryAt + 8);
    const std::uint64_t offset = qFromLittleEndian<std::uint32_t>(d + entryAt + 12);
    if (offset + bytes > std::uint64_t(n))
        return {};
    const unsigned char* image = d + offset;
    if (bytes < 8 || std::memcmp(image, PngSignature, 8) != 0)
        return reported;
    if (bytes < 24 || std::memcmp(image + 12, "IHDR", 4) != 0)
        return {};
    const auto side = [](std::uint32_t value) { return int(std::min<std::uint32_t>(value, INT_MAX)); };
    return QSize(side(qFromBigEndian<std::uint32_t>(image + 16)),
                 side(qFromBigEndian<std::uint32_t>(image + 20)));
}

} // namespace zdawnik
