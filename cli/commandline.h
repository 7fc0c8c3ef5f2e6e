#pragma once

#include "clioptions.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

// The options of `brindle`, read into CliOptions with the defaults of the program's resize screen.
class CommandLine
{
public:
    CommandLine();

    // False on a usage error, with errorText() saying what is wrong. --help and --version print their
    // text and end the process.
    bool parse(const QStringList &arguments);
    const QString &errorText() const;
    const CliOptions &options() const;

private:
    bool fail(const QString &text);
    bool readSize();
    bool readSides();
    bool readOutput();
    bool readNumbers();
    bool readNumber(const QString &name, int minimum, int maximum, int *value);
    bool findProfile(const QString &name);

    QCommandLineParser parser;
    QString error;
    CliOptions result;
};
