#pragma once

#include <Magick++.h>
#include <QDeadlineTimer>

// The time one image may take, watched through the image library's progress reports. The library's own time
// limit counts from the start of the process, so in a long batch it would strike whichever image came last.
class ImageDeadline
{
public:
    explicit ImageDeadline(qint64 msecs);

    // Reports of a read through info, and of all that is done later to the images it reads, come here; once
    // the time is up they tell the library to stop.
    void watch(MagickCore::ImageInfo *info);
    // Throws std::runtime_error once the time is up: a stopped library call may still return normally.
    void check() const;

private:
    static MagickCore::MagickBooleanType report(const char *, MagickCore::MagickOffsetType,
                                                MagickCore::MagickSizeType, void *deadline);

    const qint64 msecs;
    const QDeadlineTimer timer;
    bool expired = false;
};
