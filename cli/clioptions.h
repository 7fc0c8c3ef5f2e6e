#pragma once

#include "BrindleCore.h"

#include <QSize>
#include <QString>
#include <QStringList>

// What one start of the command line asks for, checked and ready to hand to the engine.
struct CliOptions
{
    enum class Output
    {
        Prefix,    // beside each source, with a prefix
        SubFolder, // in a folder named after the size, beside each source
        Folder,    // all in one folder, under the sources' names
    };

    QStringList paths;
    QSize size;
    CImagesResizer::ResizeParameters parameters;
    Output output = Output::Prefix;
    QString prefix;
    QString folder;
    int quality = 0;
    bool stripDetails = false;
    bool neverEnlarge = false;
    int jobs = 1;
    bool recursive = false;
    bool dryRun = false;
    bool quiet = false;
};
