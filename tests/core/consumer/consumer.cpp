// Built outside the project's include paths: proves the public header stands on its own.
#include "BrindleCore.h"

int main()
{
    CImagesResizer resizer;
    resizer.setSize(QSize(10, 10));
    resizer.setResizeParameters(CImagesResizer::UseWidth | CImagesResizer::KeepAspectRatio);
    const CEvaluatingResult result = resizer.evaluationResize({CImageInfo()});
    return result.count() == 1 ? 0 : 1;
}
