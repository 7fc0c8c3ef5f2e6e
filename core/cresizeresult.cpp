#include "cresizeresult.h"

#include <QFileInfo>

CResizeResult::CResizeResult(const CImageInfo &sourceImage, const QString &newImagePath, uint resizeTime)
    : m_sourceImage(sourceImage)
    , m_newImagePath(newImagePath)
    , m_resizeTime(resizeTime)
{
    // The speed figure is the bytes written per second; within the first millisecond it has no finite value.
    if (resizeTime > 0)
        m_speed = uint(quint64(QFileInfo(newImagePath).size()) * 1000 / resizeTime);
}

CResizeResult CResizeResult::failure(const QString &error)
{
    CResizeResult result;
    result.m_error = error;
    return result;
}

const QString &CResizeResult::newImagePath() const
{
    return m_newImagePath;
}

uint CResizeResult::resizeTime() const
{
    return m_resizeTime;
}

uint CResizeResult::speed() const
{
    return m_speed;
}

const QString &CResizeResult::error() const
{
    return m_error;
}
