#pragma once

#include <QByteArray>
#include <QSemaphore>
#include <QString>
#include <thread>

// A file whose bytes reach its reader only when the test lets them go: the file is swapped for a named pipe,
// so an image the engine starts on stays in flight, on any machine, until release(). For files smaller than
// the pipe's 64 KiB buffer.
class HeldFile
{
public:
    // The file must exist; its bytes are kept here and the pipe takes its name.
    explicit HeldFile(const QString &path);
    // Lets the bytes go if nobody did, unblocking a reader that never came, and puts the file back.
    ~HeldFile();

    bool isValid() const { return feeder.joinable(); }
    // Processes events until a reader has opened the pipe; false when none did within msecs.
    bool waitForReader(int msecs = 10000);
    // The reader gets the bytes and the end of the file.
    void release() { released.release(); }

private:
    void feed();

    QString path;
    QByteArray bytes;
    QSemaphore readerArrived;
    QSemaphore released;
    std::thread feeder;
};
