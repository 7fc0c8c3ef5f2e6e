#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>
#include <QVector>

// Damaged, disguised and special files of the kind a careless folder holds, made for the tests.
namespace HostileCorpus {

enum class Expect
{
    Queued,  // a good image: must be queued and resized
    Refused, // nothing decodable: must never reach the queue
    Either,  // damaged but perhaps partly decodable: any clear outcome that loses nothing
    Slow     // a good image that takes longer than a millisecond: under that time limit it must fail
};

struct Entry
{
    QString name;
    Expect expect;
};

// Writes every file of the corpus into folder and lists them in the order of writing; good images under
// names the image library would read meaning into are among them.
QVector<Entry> make(const QString &folder);

// A valid grey PNG of one flat colour, streamed so that neither the pixels nor the compressed file sit in
// memory whole; returns false when it could not be written.
bool writeFlatPng(const QString &path, const QSize &size);

// Empty for anything but a regular file.
QByteArray checksum(const QString &path);

} // namespace HostileCorpus
