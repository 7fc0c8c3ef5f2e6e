#include "tiffmessages.h"

#include <Magick++.h>
#include <tiffio.h>

namespace TiffMessages {

namespace {

thread_local bool libraryAtWork = false;
TIFFErrorHandler libraryErrors = nullptr;
TIFFErrorHandler libraryWarnings = nullptr;

// Outside the image library, a failed read says so through its result; the message is not needed.
void onError(const char *module, const char *format, va_list arguments)
{
    if (libraryAtWork && libraryErrors)
        libraryErrors(module, format, arguments);
}

void onWarning(const char *module, const char *format, va_list arguments)
{
    if (libraryAtWork && libraryWarnings)
        libraryWarnings(module, format, arguments);
}

} // namespace

void takeOver()
{
    MagickCore::ExceptionInfo *exception = MagickCore::AcquireExceptionInfo();
    MagickCore::GetMagickInfo("TIFF", exception);
    MagickCore::DestroyExceptionInfo(exception);
    libraryErrors = TIFFSetErrorHandler(onError);
    libraryWarnings = TIFFSetWarningHandler(onWarning);
}

LibraryAtWork::LibraryAtWork()
    : outer(!libraryAtWork)
{
    libraryAtWork = true;
}

LibraryAtWork::~LibraryAtWork()
{
    if (outer)
        libraryAtWork = false;
}

} // namespace TiffMessages
