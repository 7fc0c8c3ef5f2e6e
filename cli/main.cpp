#include "BrindleCore.h"
#include "batchrun.h"
#include "commandline.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    followLocaleFileNames();
    QCoreApplication::setApplicationName(QStringLiteral("brindle"));
    QCoreApplication::setApplicationVersion(QStringLiteral(BRINDLE_VERSION));

    CommandLine commandLine;
    if (!commandLine.parse(QCoreApplication::arguments())) {
        std::fprintf(stderr, "brindle: %s\nTry 'brindle --help' for the options.\n",
                     commandLine.errorText().toLocal8Bit().constData());
        return BatchRun::Refused;
    }
    BatchRun run(commandLine.options());
    return run.exec();
}
