#include "heldfile.h"

#include "photofiles.h"
#include "testimages.h"

#include <QFile>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

HeldFile::HeldFile(const QString &path)
    : path(path)
    , bytes(TestImages::fileBytes(path))
{
    if (bytes.size() < 65536 && QFile::remove(path) &&
        ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0)
        feeder = std::thread(&HeldFile::feed, this);
}

HeldFile::~HeldFile()
{
    if (!feeder.joinable())
        return;
    release();
    // A reader of our own lets the feeder's open return when the engine never came; the bytes fit the pipe's
    // buffer, so the feeder writes them without waiting and ends.
    const int reader = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
    feeder.join();
    if (reader >= 0)
        ::close(reader);
    QFile::remove(path);
    PhotoFiles::save(path, bytes);
}

bool HeldFile::waitForReader(int msecs)
{
    return QTest::qWaitFor([this] { return readerArrived.tryAcquire(); }, msecs);
}

// Runs in its own thread: blocks in open() until a reader comes, then in the wait until the test lets go.
void HeldFile::feed()
{
    const int writer = ::open(QFile::encodeName(path).constData(), O_WRONLY);
    if (writer < 0)
        return;
    readerArrived.release();
    // Long enough for any reader on a loaded machine, short enough that a test that blocks its own event loop
    // on the reader fails instead of hanging.
    released.tryAcquire(1, 10000);
    for (qint64 done = 0; done < bytes.size();) {
        const ssize_t written = ::write(writer, bytes.constData() + done, size_t(bytes.size() - done));
        if (written <= 0)
            break;
        done += written;
    }
    ::close(writer);
}
