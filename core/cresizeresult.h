#pragma once

#include "BrindleCore.h"

// What one image tells the run: the file written and what it cost, or why it failed. The default one is
// an image given up because the run was cancelled.
class CResizeResult
{
public:
    CResizeResult() = default;
    CResizeResult(const CImageInfo &sourceImage, const QString &newImagePath, uint resizeTime);
    static CResizeResult failure(const QString &error);

    const QString &newImagePath() const;
    uint resizeTime() const;
    uint speed() const;
    // The failing source's native path and the reason; empty for an image written or given up.
    const QString &error() const;

private:
    CImageInfo m_sourceImage;
    QString m_newImagePath;
    uint m_resizeTime = 0;
    uint m_speed = 0;
    QString m_error;
};
