#pragma once

#include <QStaticText>

class CImageInfo;

// The queue row's two-line description (name above extension, resolution and size) for a text width;
// the name is shortened and ends in "..." when the block would be wider.
QStaticText imageDescription(const CImageInfo &info, int width);
