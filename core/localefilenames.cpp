#include "BrindleCore.h"

#include <QTextCodec>

#include <langinfo.h>

void followLocaleFileNames()
{
    const QByteArray codeset(nl_langinfo(CODESET));
    if (codeset == "UTF-8" || codeset == "ANSI_X3.4-1968")
        return;
    if (QTextCodec *codec = QTextCodec::codecForName(codeset))
        QTextCodec::setCodecForLocale(codec);
}
