#include "commandline.h"

#include "profile.h"

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>
#include <QThreadPool>

#include <stdexcept>

namespace {

// The program's first profile, picked when its resize screen opens.
const QSize defaultSize(1024, 768);
const QString defaultPrefix = QStringLiteral("mini_");

QCommandLineOption option(const QStringList &names, const QString &description, const QString &value = {})
{
    return QCommandLineOption(names, description, value);
}

} // namespace

CommandLine::CommandLine()
{
    parser.setApplicationDescription(
        QStringLiteral("Resizes JPEG, PNG, GIF, BMP and TIFF images in one parallel run. A folder gives the "
                       "images directly inside it (all levels with --recursive). Without a size the target "
                       "is %1x%2.")
            .arg(defaultSize.width())
            .arg(defaultSize.height()));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({
        option({"s", "size"}, "Target box of WIDTHxHEIGHT pixels.", "WxH"),
        option({"P", "profile"},
               "Target size of the named size profile (Email or a file of the Profiles folder).", "NAME"),
        option({"W", "width"}, "Target width; alone, only the width is changed.", "PIXELS"),
        option({"H", "height"}, "Target height; alone, only the height is changed.", "PIXELS"),
        option({"k", "keep-ratio"}, "Keep each image's aspect ratio inside the target."),
        option({"t", "portrait-turn"}, "Turn the target box for portrait images (needs --keep-ratio and both "
                                       "sides)."),
        option({"p", "prefix"}, "Write beside each source, the name prefixed with TEXT (default: mini_).",
               "TEXT"),
        option({"f", "subfolder"}, "Write into a folder resized_WxH beside each source."),
        option({"o", "out"}, "Write all images into DIR under their own names.", "DIR"),
        option({"q", "quality"}, "JPEG quality 1 to 100 (default: each source's own).", "N"),
        option({"S", "strip-details"}, "Leave out EXIF, IPTC, XMP, comments and thumbnails."),
        option({"n", "never-enlarge"}, "Keep images that are already inside the target at their size."),
        // No count of this machine's cores: the manual page is made from this text on the build machine.
        option({"j", "jobs"}, "Images resized at once (default: one per core).", "N"),
        option({"r", "recursive"}, "Take folders at any depth."),
        option({"d", "dry-run"}, "List what would be written and the size estimate; write nothing."),
        option({"Q", "quiet"}, "Print nothing but errors."),
    });
    parser.addPositionalArgument("paths", "Images and folders to resize.", "FILE_OR_FOLDER...");
}

bool CommandLine::parse(const QStringList &arguments)
{
    if (!parser.parse(arguments))
        return fail(parser.errorText());
    if (parser.isSet("help"))
        parser.showHelp(0);
    if (parser.isSet("version"))
        parser.showVersion();
    result.paths = parser.positionalArguments();
    if (result.paths.isEmpty())
        return fail("No image or folder given.");
    result.recursive = parser.isSet("recursive");
    result.dryRun = parser.isSet("dry-run");
    result.quiet = parser.isSet("quiet");
    result.stripDetails = parser.isSet("strip-details");
    result.neverEnlarge = parser.isSet("never-enlarge");
    return readSize() && readSides() && readOutput() && readNumbers();
}

const QString &CommandLine::errorText() const
{
    return error;
}

const CliOptions &CommandLine::options() const
{
    return result;
}

bool CommandLine::fail(const QString &text)
{
    error = text;
    return false;
}

bool CommandLine::readSize()
{
    result.size = defaultSize;
    if (parser.isSet("size") && parser.isSet("profile"))
        return fail("Give either --size or --profile.");
    if (parser.isSet("profile"))
        return findProfile(parser.value("profile"));
    if (!parser.isSet("size"))
        return true;
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("^(\\d{1,6})[xX](\\d{1,6})$")).match(parser.value("size"));
    if (!match.hasMatch())
        return fail(
            QStringLiteral("The size \"%1\" is not WIDTHxHEIGHT, e.g. 800x600.").arg(parser.value("size")));
    result.size = QSize(match.captured(1).toInt(), match.captured(2).toInt());
    return true;
}

// Like the program's two side boxes: a side given alone is the only one changed, otherwise both are.
bool CommandLine::readSides()
{
    const bool width = parser.isSet("width");
    const bool height = parser.isSet("height");
    const bool boxGiven = parser.isSet("size") || parser.isSet("profile");
    int value = 0;
    if (width) {
        if (!readNumber("width", 1, 1'000'000, &value))
            return false;
        result.size.setWidth(value);
    }
    if (height) {
        if (!readNumber("height", 1, 1'000'000, &value))
            return false;
        result.size.setHeight(value);
    }
    const bool both = boxGiven || width == height;
    if (both || width)
        result.parameters |= CImagesResizer::UseWidth;
    if (both || height)
        result.parameters |= CImagesResizer::UseHeight;
    if (parser.isSet("keep-ratio"))
        result.parameters |= CImagesResizer::KeepAspectRatio;
    if (!parser.isSet("portrait-turn"))
        return true;
    if (!parser.isSet("keep-ratio") || !both)
        return fail("--portrait-turn needs --keep-ratio and both sides of the target.");
    result.parameters |= CImagesResizer::VerticalImagesAutoRecognition;
    return true;
}

bool CommandLine::readOutput()
{
    const int modes = int(parser.isSet("prefix")) + int(parser.isSet("subfolder")) + int(parser.isSet("out"));
    if (modes > 1)
        return fail("Give only one of --prefix, --subfolder and --out.");
    result.prefix = parser.isSet("prefix") ? parser.value("prefix") : defaultPrefix;
    if (parser.isSet("subfolder")) {
        result.output = CliOptions::Output::SubFolder;
        result.folder = QStringLiteral("resized_%1x%2").arg(result.size.width()).arg(result.size.height());
        result.prefix.clear();
    } else if (parser.isSet("out")) {
        if (parser.value("out").isEmpty())
            return fail("--out needs a folder.");
        result.output = CliOptions::Output::Folder;
        result.folder = parser.value("out");
        result.prefix.clear();
    }
    return true;
}

bool CommandLine::readNumbers()
{
    result.jobs = QThreadPool::globalInstance()->maxThreadCount();
    return (!parser.isSet("quality") || readNumber("quality", 1, 100, &result.quality)) &&
           (!parser.isSet("jobs") || readNumber("jobs", 1, 1024, &result.jobs));
}

bool CommandLine::readNumber(const QString &name, int minimum, int maximum, int *value)
{
    bool ok = false;
    const int number = parser.value(name).toInt(&ok);
    if (!ok || number < minimum || number > maximum)
        return fail(QStringLiteral("--%1 takes a whole number from %2 to %3, not \"%4\".")
                        .arg(name)
                        .arg(minimum)
                        .arg(maximum)
                        .arg(parser.value(name)));
    *value = number;
    return true;
}

// The program's own list but for "Desktop", whose size is a screen's, and the manual entry.
bool CommandLine::findProfile(const QString &name)
{
    QVector<Profile> profiles{Profile(QStringLiteral("Email"), defaultSize)};
    const QDir folder(QCoreApplication::applicationDirPath() + QStringLiteral("/Profiles"));
    const QStringList files = folder.entryList(QDir::Files);
    QStringList names{profiles.first().name()};
    for (const QString &file : files) {
        try {
            profiles.append(Profile(folder.absoluteFilePath(file)));
            names.append(profiles.last().name());
        } catch (const std::runtime_error &) {
            return fail(QStringLiteral("Cannot read the profile file %1.")
                            .arg(QDir::toNativeSeparators(folder.absoluteFilePath(file))));
        }
    }
    for (const Profile &profile : profiles) {
        if (profile.name().compare(name, Qt::CaseInsensitive) == 0) {
            result.size = profile.size();
            return true;
        }
    }
    return fail(
        QStringLiteral("No profile is named \"%1\"; the profiles are: %2.").arg(name, names.join(", ")));
}
