#include "imagedeadline.h"

#include <QString>
#include <stdexcept>

ImageDeadline::ImageDeadline(qint64 msecs)
    : msecs(msecs)
    , timer(msecs)
{
}

void ImageDeadline::watch(MagickCore::ImageInfo *info)
{
    MagickCore::SetImageInfoProgressMonitor(info, &ImageDeadline::report, this);
}

void ImageDeadline::check() const
{
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
    return self->expired ? MagickCore::MagickFalse : MagickCore::MagickTrue;
}
