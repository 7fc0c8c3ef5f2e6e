#pragma once

#include "BrindleCore.h"
#include "clioptions.h"
#include "progressline.h"

#include <QEventLoop>
#include <QObject>

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
    QString outputPath(const CImageInfo &image) const;
    QString missingFolderText(const QVector<CImageInfo> &images) const;
    void showProgress();
    void onFinished();
    void onInterrupted();
    void end(int status);
    void say(const QString &text) const;

    const CliOptions options;
    CImagesResizer resizer;
    ProgressLine progress;
    QEventLoop loop;
    int total = 0;
    int done = 0;
    int written = 0;
    int leftOut = 0;
    int speed = 0;
    uint elapsed = 0;
    uint remaining = 0;
    bool ended = false;
};
