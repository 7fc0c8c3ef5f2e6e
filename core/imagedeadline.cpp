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
    return expired || timer.hasExpired() || abandoned();
}

void ImageDeadline::check() const
{
    if (abandoned())
        throw ImageAbandoned();
    if (expired || timer.hasExpired())
        throw std::runtime_error(QStringLiteral("took longer than %1 seconds, the most one image may take")
                                     .arg(double(msecs) / 1000)
                                     .toStdString());
}

MagickCore::MagickBooleanType ImageDeadline::report(const char *, MagickCore::MagickOffsetType,
                                                    MagickCore::MagickSizeType, void *deadline)
{
    auto *self = static_cast<ImageDeadline *>(deadline);
    self->expired = self->expired || self->timer.hasExpired();
    return self->stopped() ? MagickCore::MagickFalse : MagickCore::MagickTrue;
}
