#include "profile.h"

#include <QCoreApplication>
#include <QSettings>
#include <QVariant>

#include <stdexcept>

Profile::Profile()
    : m_name("Manual")
    , m_size(0, 0)
{
}

Profile::Profile(const QString &name, const QSize &size)
    : m_name(name)
    , m_size(size)
{
}

Profile::Profile(const QString &path)
{
    QSettings file(path, QSettings::IniFormat);
    file.beginGroup("Main");
    m_name = file.value("name").toString();
    m_size = file.value("size").toSize();
    file.endGroup();
    if (file.status() != QSettings::NoError)
        throw std::runtime_error(
            QCoreApplication::translate("QObject", "e_cann't_read_profile").toStdString());
}

const QString &Profile::name() const
{
    return m_name;
}

const QSize &Profile::size() const
{
    return m_size;
}

bool Profile::operator!=(const Profile &other) const
{
    return m_name != other.m_name || m_size != other.m_size;
}
