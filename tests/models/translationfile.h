#pragma once

#include <QFile>
#include <QLibraryInfo>
#include <QProcess>
#include <QString>
#include <QVector>

namespace TranslationFile {

struct Message
{
    QString context;
    QString source;
    QString translation;
};

// Compiles the messages into a real .qm file with the Qt release tool; false when that failed.
inline bool write(const QString &qmPath, const QVector<Message> &messages)
{
    QString ts = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE TS>\n<TS version=\"2.1\">\n";
    for (const Message &message : messages) {
        ts += "<context><name>" + message.context.toHtmlEscaped() + "</name><message><source>" +
              message.source.toHtmlEscaped() + "</source><translation>" +
              message.translation.toHtmlEscaped() + "</translation></message></context>\n";
    }
    ts += "</TS>\n";
    const QString tsPath = qmPath + ".ts";
    QFile file(tsPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(ts.toUtf8()) < 0)
        return false;
    file.close();
    const QString lrelease = QLibraryInfo::location(QLibraryInfo::BinariesPath) + "/lrelease";
    const int code = QProcess::execute(lrelease, {"-silent", tsPath, "-qm", qmPath});
    QFile::remove(tsPath);
    return code == 0 && QFile::exists(qmPath);
}

} // namespace TranslationFile
