#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

class BenchReport;

// The batch resize of large photos: the engine against the command-line tools people use.
namespace BenchResizing {

// The body of the child process that runs the engine, so that its peak memory is its own.
bool isChild(int argc, char *argv[]);
int runChild(const QStringList &arguments);

// Every tool on photos at 800x600 and 1920x1440, two images at a time, with the quality of each output.
void compareTools(BenchReport &report, const QStringList &photos, const QString &work);

// The start-up of the command line: the mean of a series of `brindle --version`.
void timeCommandLineStart(BenchReport &report);

// PNG stills and animated GIFs, which no decoder shrinks while reading, at 800x600: the engine against
// convert, which also resizes every frame.
void compareFormats(BenchReport &report, const QStringList &files, const QString &work);

// The engine at 800x600 with one and with two threads of the image library inside each image.
void compareLibraryThreads(BenchReport &report, const QStringList &photos, const QString &work);

} // namespace BenchResizing
