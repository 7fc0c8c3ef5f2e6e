#pragma once

#include "BrindleCore.h"
#include "clioptions.h"
#include "progressline.h"

#include <QEventLoop>
#include <QObject>
#include <QSet>

class SourceList;

// One resize run of the command line, from reading the sources to the exit status: 0 all resized, 1 some
// left out or failed, 2 refused, 130 interrupted.
class BatchRun : public QObject
{
    Q_OBJECT

public:
    enum ExitStatus
    {
        AllResized = 0,
        SomeMissing = 1,
        Refused = 2,
        Interrupted = 130,
    };

    explicit BatchRun(const CliOptions &options, QObject *parent = nullptr);

    int exec();

private:
    void configure();
    void reportLeftOut(const SourceList &sources);
    int dryRun(const QVector<CImageInfo> &images) const;
    int run(const QVector<CImageInfo> &images);
    QString startPass();
    bool leaveOutUndecodable();
    QString outputPath(const CImageInfo &image) const;
    QString missingFolderText(const QVector<CImageInfo> &images) const;
    void showProgress();
    void onFinished();
    void finish(const QString &failure);
    void onInterrupted();
    void end(int status);
    void say(const QString &text) const;

    const CliOptions options;
    CImagesResizer resizer;
    ProgressLine progress;
    QEventLoop loop;
    // The images of the pass under way, and the sources written by every pass.
    QVector<CImageInfo> pending;
    QSet<QString> writtenSources;
    // Whether the pending images were decoded when read, not only their headers.
    bool decoded = false;
    int total = 0;
    int doneBefore = 0;
    uint elapsedBefore = 0;
    int done = 0;
    int written = 0;
    int leftOut = 0;
    int speed = 0;
    uint elapsed = 0;
    uint remaining = 0;
    bool ended = false;
};
