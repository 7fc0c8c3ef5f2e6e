#pragma once

#include <QSize>
#include <QString>

// A named target size; 0 x 0 is the manual profile, whose size the user types.
class Profile
{
public:
    Profile();
    Profile(const QString &name, const QSize &size);
    // Reads a profile file; throws std::runtime_error with a translated message when it cannot be read.
    explicit Profile(const QString &path);

    const QString &name() const;
    const QSize &size() const;

    bool operator!=(const Profile &other) const;

private:
    QString m_name;
    QSize m_size;
};
