#pragma once

// libtiff has one error and one warning handler for the whole process, shared by the image library and by
// Qt's TIFF reader. The image library's handler writes into the exception of the thread's last TIFF call,
// which is gone once that call returns: a broken TIFF that Qt reads afterwards in the same pool thread
// would abort the program. Messages therefore reach the image library only while it is at work.
namespace TiffMessages {

// Call once the image library is set up; loads its TIFF coder so that its handlers are in place.
void takeOver();

// Marks the image library's TIFF work in this thread for as long as it lives.
class LibraryAtWork
{
public:
    LibraryAtWork();
    ~LibraryAtWork();
    LibraryAtWork(const LibraryAtWork &) = delete;
    LibraryAtWork &operator=(const LibraryAtWork &) = delete;

private:
    bool outer;
};

} // namespace TiffMessages
