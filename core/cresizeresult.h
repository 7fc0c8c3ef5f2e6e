#pragma once

#include "BrindleCore.h"

// What one resized image tells the run: the file written and what it cost.
class CResizeResult
{
public:
    CResizeResult() = default;
    CResizeResult(const CImageInfo &sourceImage, const QString &newImagePath, uint resizeTime);

    const QString &newImagePath() const;
    uint resizeTime() const;
    uint speed() const;

private:
    CImageInfo m_sourceImage;
    QString m_newImagePath;
    uint m_resizeTime = 0;
    uint m_speed = 0;
};
