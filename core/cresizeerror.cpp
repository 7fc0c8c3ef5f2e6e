#include "cresizeerror.h"

#include <QDir>

CResizeError::CResizeError(const QString &path, const QString &message)
    : m_path(path)
    , m_message(message)
{
}

QString CResizeError::text() const
{
    return QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(m_path), m_message);
}
