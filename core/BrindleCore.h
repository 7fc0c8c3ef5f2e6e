#pragma once

#include <QAtomicInt>
#include <QFlags>
#include <QFutureWatcher>
#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <QTimer>
#include <QVector>

class QImageReader;

#if defined(BRINDLECORE_LIBRARY)
#define BRINDLECORE_EXPORT Q_DECL_EXPORT
#else
#define BRINDLECORE_EXPORT Q_DECL_IMPORT
#endif

// What the size estimate learns about a picture while it is opened, so that estimating decodes nothing.
// Bits per pixel of the picture encoded as the engine writes it: at scale (of the record's resolution) for
// JPEG qualities 50, 80 and 95 (for other formats: in their own format), and the first of those at half the
// scale. Empty bits mean nothing was learnt, and the estimate goes by the pixel count alone.
struct BRINDLECORE_EXPORT CEncodingSample
{
    double scale = 0.0;
    QVector<float> bits;
    float halfScaleBits = 0.0f;
    // The JPEG source's own quality, as its quantisation tables say; 0 when not a JPEG.
    int sourceQuality = 0;
    int frameCount = 1;
    // Bytes of EXIF, XMP, IPTC and comments, and of the colour profile, which the output carries along.
    qint64 detailBytes = 0;
    qint64 profileBytes = 0;
    // Bytes of an output of the format whatever its pixels: headers, tables, the library's own tags.
    double fixedBytes = 0.0;
    // A GIF: its palette is dithered anew on every pixel, enlarged ones too.
    bool dithered = false;
};

// Value record of one source image. Building one from a path reads the file, so do it in worker threads.
class BRINDLECORE_EXPORT CImageInfo
{
public:
    // How much of the file a record reads: all of it, so that a null record says the picture cannot be
    // decoded and the record carries what the size estimate learns; or the header alone (size and
    // orientation) for a caller that decodes the picture anyway and needs no estimate.
    enum class Reading
    {
        Decoded,
        HeaderOnly
    };

    CImageInfo();
    explicit CImageInfo(const QString &path, Reading reading = Reading::Decoded);
    // The same record from the same single decode, which also gives thumbnail: the picture scaled to fit
    // thumbnailBox, null when the record is. Decodes no more pixels than the thumbnail needs where the
    // format can scale while decoding.
    CImageInfo(const QString &path, const QSize &thumbnailBox, QImage *thumbnail);
    CImageInfo(const CImageInfo &other);
    CImageInfo &operator=(const CImageInfo &other);
    ~CImageInfo();

    const QString &fullPath() const;
    const QString &fileName() const;
    const QString &extension() const;
    const QString &baseName() const;
    const QString &completeSuffix() const;
    const QString &suffix() const;
    const QSize &resolution() const;
    double size() const;
    bool isNull() const;
    // Why the record is null, in a few English words; empty when the image was decoded.
    const QString &nullReason() const;

    QImage getImage() const;
    QString getImageFolder() const;
    QString getSizeString() const;
    QString getResolutionString() const;
    const CEncodingSample &encodingSample() const;

private:
    bool readHeader(QImageReader &reader);
    void decode(QImageReader &reader, const QSize &thumbnailBox, QImage *thumbnail);

    QString m_fullPath;
    QString m_fileName;
    QString m_extension;
    QSize m_resolution;
    double m_size = 0.0;
    QString m_baseName;
    QString m_completeSuffix;
    QString m_suffix;
    bool m_null = true;
    QString m_nullReason;
    CEncodingSample m_encodingSample;
};

// Count, current size and estimated output size (megabytes) of a list of images.
class BRINDLECORE_EXPORT CEvaluatingResult
{
public:
    CEvaluatingResult();
    CEvaluatingResult(double currentSize, double evalutionSize);

    double currentSize() const;
    double evalutionSize() const;
    int count() const;

    // Counts one more image whatever the other's count is: the reduction adds one image at a time.
    CEvaluatingResult &operator+=(const CEvaluatingResult &other);

private:
    int m_count;
    double m_currentSize;
    double m_evalutionSize;
};

class CResizeResult;

// The resize engine: settings, the parallel batch run with its progress signals, and the size estimate.
// Every public operation is called from the thread the object lives in (the GUI thread).
class BRINDLECORE_EXPORT CImagesResizer : public QObject
{
    Q_OBJECT

public:
    enum ResizeParameter
    {
        NoParameters = 0x01,
        UseWidth = 0x02,
        UseHeight = 0x04,
        KeepAspectRatio = 0x08,
        VerticalImagesAutoRecognition = 0x10,
    };
    Q_DECLARE_FLAGS(ResizeParameters, ResizeParameter)

    explicit CImagesResizer(QObject *parent = nullptr);
    ~CImagesResizer() override;

    void setSize(const QSize &size);
    const QSize &size() const;
    void setResizeParameters(ResizeParameters parameters);
    ResizeParameters resizeParameters() const;
    void setSameFolderForNewImages(bool sameFolder);
    void setOutputFolder(const QString &outputFolder);
    void setPrefixForResizedImages(const QString &prefix);
    // 0, the default, keeps each JPEG source's own quality; 1 to 100 encodes every JPEG output at that
    // quality. Other formats are lossless and ignore it.
    void setJpegQuality(int quality);
    int jpegQuality() const;
    // Off by default. On, outputs carry no EXIF, IPTC, XMP, comments or EXIF thumbnail; the colour profile
    // stays.
    void setStripDetails(bool strip);
    bool stripDetails() const;
    // Off by default. On, an image already inside the target keeps its own size instead of being enlarged.
    void setNeverEnlarge(bool neverEnlarge);
    bool neverEnlarge() const;

    // Throws std::runtime_error, before anything is touched, when the run cannot be done safely.
    void resizeImages(const QVector<CImageInfo> &images);
    // The refusals of resizeImages() but the output folders, which only a run makes: a listing of what a
    // run would write is refused for the same reasons. Touches nothing.
    void checkRun(const QVector<CImageInfo> &images) const;
    // Where the copy of image is written with the current settings.
    QString getOutputPath(const CImageInfo &image) const;
    CEvaluatingResult evaluationResize(const QVector<CImageInfo> &images) const;
    bool isRunning() const;
    // The failing source and the image library's message of the last run; empty when it had no failure.
    // Filled by the time resizeFinished() is emitted.
    QString lastError() const;

signals:
    void resizeStarted();
    void progressValueChanged(int progressValue);
    void resizeFinished();
    void resizeCanceled();
    void imageResized(const QString &sourceImagePath, const QString &newImagePath);
    void resizeElapsed(uint msec);
    void speedChanged(int speed);
    void remainingTimeChanged(uint remainingTime);

public slots:
    void setPause(bool isPause);
    void cancel();
    void blockingCancel();

private slots:
    void onResizeStarted();
    void onResizeFinished();
    void onImageResized(int index);
    void onResizeTimerTick();

private:
    QSize getNewResolution(const QSize &source) const;
    CResizeResult resizeImage(const CImageInfo &image) const;
    QByteArray resizedBytes(const CImageInfo &image) const;
    bool createFoldersForNewImages(const QVector<CImageInfo> &images) const;
    CEvaluatingResult evaluate(const CImageInfo &image) const;
    QString getOutputFolder(const CImageInfo &image) const;
    QString runFailure() const;

    QVector<CImageInfo> images;
    QSize m_size;
    ResizeParameters parameters;
    QString outputFolder;
    QString prefix;
    QFutureWatcher<CResizeResult> watcher;
    QTimer timer;
    uint elapsedMsec;
    uint averageSpeed;
    uint averageResizeTime;
    bool sameFolder;
    QString m_lastError;
    // Set by cancel() once the run is cancelled, read by the pool's images: those still waiting for memory
    // or decoding give up instead of finishing work that nobody will see.
    QAtomicInt canceling;
    int m_jpegQuality = 0;
    bool m_stripDetails = false;
    bool m_neverEnlarge = false;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(CImagesResizer::ResizeParameters)

// Debian's Qt takes every file name for UTF-8 whatever the locale says, so under a Latin-1 locale a file
// named "Grüße.jpg" could be neither listed nor opened nor written. Call once after the application object
// is made; a UTF-8 or plain "C" locale keeps Qt's UTF-8.
BRINDLECORE_EXPORT void followLocaleFileNames();
