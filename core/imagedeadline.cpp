#include "imagedeadline.h"

#include <QString>
#include <stdexcept>

ImageDeadline::ImageDeadline(qint64 msecs, const std::function<bool()> &abandoned)
    : msecs(msecs)
    , timer(msecs)
    , abandoned(abandoned)
{
}

void ImageDeadline::watch(MagickCore::ImageInfo *info)
{
    MagickCore::SetImageInfoProgressMonitor(info, &ImageDeadline::report, this);
}

bool ImageDeadline::stopped() const
{
    return timer.hasExpired() || abandoned();
}

void ImageDeadline::check() const
{
    if (abandoned())
        throw ImageAbandoned();
    if (timer.hasExpired())
        throw std::runtime_error(QStringLiteral("took longer than %1 seconds, the most one image may take")
                                     .arg(double(msecs) / 1000)
                                     .toStdString());
}

MagickCore::MagickBooleanType ImageDeadline::report(const char *, MagickCore::MagickOffsetType,
                                                    MagickCore::MagickSizeType, void *deadline)
{
    return static_cast<const ImageDeadline *>(deadline)->stopped() ? MagickCore::MagickFalse
                                                                   : MagickCore::MagickTrue;
}
