#pragma once

#include <QException>
#include <QString>

// A failed image, carried from the pool thread that met it to the thread that watches the run:
// QtConcurrent only transports exceptions derived from QException.
class CResizeError : public QException
{
public:
    CResizeError(const QString &path, const QString &message);

    void raise() const override;
    CResizeError *clone() const override;

    // The file's native path and the reason, as one line for the user.
    QString text() const;

private:
    QString m_path;
    QString m_message;
};
