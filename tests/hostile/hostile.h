#pragma once

#include "BrindleCore.h"

#include <QByteArray>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

// Damaged, disguised and special files of the kind a careless folder holds, made for the tests.
namespace HostileCorpus {

enum class Expect
{
    Queued,  // a good image: must be queued and resized
    Refused, // nothing decodable: must never reach the queue
    Either,  // damaged but perhaps partly decodable: any clear outcome that loses nothing
    Slow     // good, but longer than a millisecond to resize: under that time limit it must fail
};

struct Entry
{
    QString name;
    Expect expect;
};

// Text that draws the file it names into the picture, were the image library to pick its coder by content.
extern const QByteArray drawingScript;
extern const QByteArray vectorDrawing;

// Writes every file of the corpus into folder and lists them in the order of writing; good images under names
// the image library would read meaning into are among them.
QVector<Entry> make(const QString &folder);

// A valid grey PNG of one flat colour, compressed line by line so that its pixels never sit in memory whole;
// returns false when it could not be written.
bool writeFlatPng(const QString &path, const QSize &size);

// Empty for anything but a regular file.
QByteArray checksum(const QString &path);

} // namespace HostileCorpus

// Drives the queue model and the engine the way the resize screen does, with a time limit on every wait so
// that a hang shows as a failure instead of a test that never ends.
namespace HostileRun {

const QSize targetSize(32, 24);

// What a fresh queue model queues of paths; finished says whether the opening ended in time. A FIFO opened by
// mistake is released after the time limit.
QVector<CImageInfo> open(const QStringList &paths, bool *finished = nullptr);

struct Run
{
    bool finished = false;
    bool canceled = false; // or refused: resizeImages threw before the run began
    QString error;         // lastError(), or the refusal's message
    QStringList written;
};

// Resizes images to exactly target into folder with prefix; onFirstImage runs once, after the first
// imageResized, while the run goes on.
Run resize(const QVector<CImageInfo> &images, const QString &folder, const QString &prefix = {},
           const std::function<void(CImagesResizer &)> &onFirstImage = {}, const QSize &target = targetSize);

// The name the engine must write for source into folder.
QString outputPath(const QString &folder, const QString &prefix, const QString &source);

// Why folder holds something else than complete outputs of size among expected (paths); empty when not. A
// stray file is a leftover temporary file, a truncated write or a name the image library made up.
QString badOutput(const QString &folder, const QStringList &expected, const QSize &size = targetSize);

} // namespace HostileRun
