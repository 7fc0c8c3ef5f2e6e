#pragma once

#include <Magick++.h>
#include <QDeadlineTimer>
#include <functional>

// Thrown when the image's run was cancelled while it was being worked on.
struct ImageAbandoned
{
};

// The time one image may take, and whether its run still wants it, watched through the image library's
// progress reports. The library's own time limit counts from the start of the process, so in a long batch it
// would strike whichever image came last.
class ImageDeadline
{
public:
    ImageDeadline(qint64 msecs, const std::function<bool()> &abandoned);

    // Reports of a read through info, and of all that is done later to the images it reads, come here; once
    // the time is up they tell the library to stop.
    void watch(MagickCore::ImageInfo *info);
    // Throws ImageAbandoned once the run is cancelled, std::runtime_error once the time is up: a stopped
    // library call may still return normally.
    void check() const;

private:
    static MagickCore::MagickBooleanType report(const char *, MagickCore::MagickOffsetType,
                                                MagickCore::MagickSizeType, void *deadline);

    bool stopped() const;

    const qint64 msecs;
    const QDeadlineTimer timer;
    const std::function<bool()> abandoned;
};
