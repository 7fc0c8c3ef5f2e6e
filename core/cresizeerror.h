#pragma once

#include <QString>

// A failed image, thrown inside the pool thread that met it and turned there into the image's result, so
// that the run's future never holds an exception for the GUI thread to meet again.
class CResizeError
{
public:
    CResizeError(const QString &path, const QString &message);

    // The file's native path and the reason, as one line for the user.
    QString text() const;

private:
    QString m_path;
    QString m_message;
};
