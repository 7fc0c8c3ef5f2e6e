#include "sizeestimate.h"

#include "imagelimits.h"
#include "magickcodec.h"

#include <Magick++.h>
#include <QFile>
#include <QtEndian>
#include <array>
#include <cmath>

namespace SizeEstimate {

namespace {

// Longer side of the copy that is encoded: a few milliseconds per quality, and large enough that a JPEG's
// blocks see the picture's texture rather than its blur.
constexpr int sampleSide = 320;
// Below this many source pixels, encoding a copy costs more than opening the image, and its output is
// small anyway: the pixel count alone estimates it.
constexpr qint64 smallestSampled = 256 * 256;
const std::array<int, 3> sampleQualities{50, 80, 95};

// The luminance table of the JPEG standard, which encoders scale by quality (in any order: only its sum
// is compared).
constexpr std::array<int, 64> standardLuminance{
    16, 11,  10,  16, 24, 40, 51, 61, 12,  12,  14,  19,  26, 58, 60, 55,  14,  13,  16,  24, 40, 57,
    69, 56,  14,  17, 22, 29, 51, 87, 80,  62,  18,  22,  37, 56, 68, 109, 103, 77,  24,  35, 55, 64,
    81, 104, 113, 92, 49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98,  112, 100, 103, 99};

int tableSumAtQuality(int quality)
{
    const int scale = quality < 50 ? 5000 / quality : 200 - 2 * quality;
    int sum = 0;
    for (const int value : standardLuminance)
        sum += qBound(1, (value * scale + 50) / 100, 255);
    return sum;
}

// The quality whose scaled standard table comes closest to the file's first table.
int qualityOfTable(int sum)
{
    int best = 92;
    int bestDistance = std::numeric_limits<int>::max();
    for (int quality = 1; quality <= 100; ++quality) {
        const int distance = std::abs(tableSumAtQuality(quality) - sum);
        if (distance < bestDistance) {
            best = quality;
            bestDistance = distance;
        }
    }
    return best;
}

// How the engine's encoder writes a picture: the format, and for a JPEG source the source's chroma sampling,
// which the image library keeps (from pixels alone it would drop the sampling at quality 90 and above, and
// double the size).
struct Writer
{
    QByteArray format;
    QByteArray sampling;
};

// Walks the segments before the scan: the first quantisation table, the sampling, and what the output
// carries along.
void readJpegHeader(const QString &path, CEncodingSample &sample, QByteArray &sampling)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    // Every segment is at most 64 KiB; a few of them come before the tables.
    const QByteArray head = file.read(512 * 1024);
    const auto byteAt = [&head](int at) { return quint8(head.at(at)); };
    int at = 2;
    while (at + 4 <= head.size() && byteAt(at) == 0xFF) {
        const int marker = byteAt(at + 1);
        const int length = qFromBigEndian<quint16>(head.constData() + at + 2);
        if (marker == 0xDA || length < 2 || at + 2 + length > head.size())
            break;
        const QByteArray body = head.mid(at + 4, length - 2);
        if (marker == 0xDB && sample.sourceQuality == 0 && body.size() >= 65) {
            const bool wide = (quint8(body.at(0)) >> 4) != 0;
            int sum = 0;
            for (int i = 0; i < 64; ++i)
                sum += wide ? qFromBigEndian<quint16>(body.constData() + 1 + 2 * i) : quint8(body.at(1 + i));
            sample.sourceQuality = qualityOfTable(sum);
        } else if ((marker == 0xC0 || marker == 0xC1 || marker == 0xC2) && body.size() >= 6) {
            QStringList factors;
            for (int i = 0; i < quint8(body.at(5)) && 8 + 3 * i < body.size(); ++i) {
                const int both = quint8(body.at(7 + 3 * i));
                factors << QStringLiteral("%1x%2").arg(both >> 4).arg(both & 15);
            }
            sampling = factors.join(QLatin1Char(',')).toLatin1();
        } else if (marker == 0xE2 && body.startsWith("ICC_PROFILE")) {
            sample.profileBytes += length + 2;
        } else if ((marker > 0xE0 && marker <= 0xEF) || marker == 0xFE) {
            // The JFIF segment (E0) is written anew by the encoder; the others travel with the picture.
            sample.detailBytes += length + 2;
        }
        at += 2 + length;
    }
    if (sample.sourceQuality == 0)
        sample.sourceQuality = 92;
}

QByteArray magickFormat(const QByteArray &format)
{
    return format == "jpeg" ? QByteArrayLiteral("JPEG") : format.toUpper();
}

// The picture as the engine's encoder holds it: library pixels from packed scan lines.
Magick::Image libraryImage(const QImage &picture, const Writer &writer)
{
    const bool alpha = picture.hasAlphaChannel() && writer.format != "jpeg";
    const QImage packed = picture.convertToFormat(alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    QByteArray pixels;
    const int lineBytes = packed.width() * (alpha ? 4 : 3);
    // Qt pads every scan line to 4 bytes; the image library wants them packed.
    for (int y = 0; y < packed.height(); ++y)
        pixels.append(reinterpret_cast<const char *>(packed.constScanLine(y)), lineBytes);
    Magick::Image image(size_t(packed.width()), size_t(packed.height()), alpha ? "RGBA" : "RGB",
                        Magick::CharPixel, pixels.constData());
    image.quiet(true);
    image.magick(magickFormat(writer.format).toStdString());
    if (!writer.sampling.isEmpty())
        image.defineValue("jpeg", "sampling-factor", writer.sampling.toStdString());
    return image;
}

// Bytes of the image encoded as the engine would write it; quality 0 is the format's own.
qint64 encodedBytes(Magick::Image &image, int quality)
{
    if (quality > 0)
        image.quality(size_t(quality));
    Magick::Blob blob;
    image.write(&blob);
    return qint64(blob.length());
}

double fixedBytes(const QByteArray &format)
{
    static const QHash<QByteArray, double> bytes = [] {
        QImage flat(8, 8, QImage::Format_RGB32);
        flat.fill(Qt::gray);
        QHash<QByteArray, double> table;
        for (const QByteArray &name :
             {QByteArrayLiteral("jpeg"), QByteArrayLiteral("png"), QByteArrayLiteral("gif")}) {
            Magick::Image image = libraryImage(flat, Writer{name, QByteArray()});
            table.insert(name, double(encodedBytes(image, name == "jpeg" ? 80 : 0)));
        }
        return table;
    }();
    return bytes.value(format);
}

// Bits per pixel of the picture at each quality, from one copy of its pixels in the library.
QVector<float> bitsPerPixel(const QImage &picture, const Writer &writer, const QVector<int> &qualities)
{
    Magick::Image image = libraryImage(picture, writer);
    const double pixels = double(ImageLimits::pixelsOf(picture.size()));
    QVector<float> bits;
    for (const int quality : qualities) {
        const double bytes = qMax(1.0, double(encodedBytes(image, quality)) - fixedBytes(writer.format));
        bits << float(8 * bytes / pixels);
    }
    return bits;
}

// JPEG bits fall about exponentially as the quality drops: straight lines between the measured qualities
// in the logarithm, continued beyond them.
double bitsAtQuality(const CEncodingSample &sample, int quality)
{
    const int q = qBound(1, quality, 100);
    const int upper = q <= sampleQualities[1] ? 1 : 2;
    const double from = std::log(sample.bits[upper - 1]);
    const double to = std::log(sample.bits[upper]);
    const double t =
        double(q - sampleQualities[upper - 1]) / (sampleQualities[upper] - sampleQualities[upper - 1]);
    return std::exp(from + t * (to - from));
}

// Shrinking a picture of grain averages the grain away, a little slower than the square of the scale: the
// resize filter keeps some of it.
constexpr double grainPower = 1.6;
// The engine's reduced decode and narrow last filter give JPEG outputs a little softer than the sample,
// whose pixels are block averages: measured over runs, a tenth fewer bits.
constexpr double jpegSoftening = 0.9;
// What the encoder still sees of the grain drops faster with the quality than what it sees of the sample,
// which holds little grain, and the faster the more the shrink has already weakened it (measured over runs
// of noisy photos at three scales and qualities). Enlarged grain is smooth, and follows the shapes.
constexpr double grainQualityPower = 1.2;
constexpr double grainQualityPowerPerShrink = 1.4;
constexpr double enlargedGrainQualityPower = 1.0;

double grainQualityPowerAt(double scale)
{
    return scale > 1 ? enlargedGrainQualityPower
                     : grainQualityPower + grainQualityPowerPerShrink * (1 - scale);
}
// Enlarged, a picture holds no more detail than before: its bits per pixel fall as it grows, though
// not in proportion, since interpolated pixels are not free; a GIF's dithering spends as much on every
// new pixel as on the old ones.
constexpr double enlargedPower = 0.8;
constexpr double enlargedDitheredPower = 0.2;

} // namespace

CEncodingSample measure(const QString &path, const QByteArray &format, const QImage &decoded,
                        const QSize &resolution, int frameCount)
{
    MagickCodec::initialise();
    CEncodingSample sample;
    sample.frameCount = qMax(1, frameCount);
    const bool jpeg = format == "jpeg";
    Writer writer{format, QByteArray()};
    if (jpeg)
        readJpegHeader(path, sample, writer.sampling);
    if ((!jpeg && format != "png" && format != "gif") || ImageLimits::pixelsOf(resolution) < smallestSampled)
        return sample;
    const QImage picture =
        decoded.width() > sampleSide || decoded.height() > sampleSide
            ? decoded.scaled(sampleSide, sampleSide, Qt::KeepAspectRatio, Qt::SmoothTransformation)
            : decoded;
    const QImage half = picture.scaled(picture.size() / 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    sample.scale = double(picture.width()) / resolution.width();
    sample.fixedBytes = fixedBytes(format);
    sample.dithered = format == "gif";
    try {
        sample.bits = bitsPerPixel(picture, writer,
                                   jpeg ? QVector<int>(sampleQualities.begin(), sampleQualities.end())
                                        : QVector<int>{0});
        sample.halfScaleBits = bitsPerPixel(half, writer, {jpeg ? sampleQualities[0] : 0}).first();
    } catch (const Magick::Exception &) {
        sample.bits.clear();
    }
    return sample;
}

double outputBytes(const CImageInfo &image, const QSize &target, int quality, bool stripDetails)
{
    const CEncodingSample &sample = image.encodingSample();
    const double targetPixels = double(ImageLimits::pixelsOf(target));
    if (sample.bits.isEmpty())
        return -1;
    if (targetPixels <= 0)
        return 0;
    const bool jpeg = sample.bits.size() == int(sampleQualities.size());
    // Bits per pixel of the picture's shapes grow as it shrinks and its edges come closer: the sample at
    // half its scale tells how fast. Here they are taken back to full scale.
    const double shapesPower =
        qBound(0.0, std::log(sample.halfScaleBits / sample.bits[0]) / std::log(2.0), 2.0);
    const auto shapesAt = [&](int q) {
        const double bits = jpeg ? bitsAtQuality(sample, q) * jpegSoftening : double(sample.bits[0]);
        return bits * std::pow(sample.scale, shapesPower);
    };
    const double shapes = shapesAt(quality > 0 ? quality : sample.sourceQuality);
    const double sourceShapes = shapesAt(sample.sourceQuality);
    // At full scale the file tells what the picture costs; what its shapes do not explain is grain.
    const double sourcePixels = double(ImageLimits::pixelsOf(image.resolution()));
    const double pixelBytes =
        image.size() * 1048576 - double(sample.detailBytes + sample.profileBytes) - sample.fixedBytes;
    const double fileBits = qMax(pixelBytes, 0.0) * 8 / sourcePixels / sample.frameCount;
    const double scale = std::sqrt(targetPixels / sourcePixels);
    const double grain =
        (fileBits - sourceShapes) * std::pow(shapes / sourceShapes, grainQualityPowerAt(scale));
    const double bits =
        scale > 1
            ? (shapes + grain) * std::pow(scale, -(sample.dithered ? enlargedDitheredPower : enlargedPower))
            : shapes * std::pow(scale, -shapesPower) + grain * std::pow(scale, grainPower);
    // Only a GIF named in lower case keeps all its frames.
    const int frames = image.suffix() == QLatin1String("gif") ? sample.frameCount : 1;
    const double carried = double(sample.profileBytes + (stripDetails ? 0 : sample.detailBytes));
    return sample.fixedBytes + carried + frames * qMax(bits, shapes / 8) * targetPixels / 8;
}

} // namespace SizeEstimate
