#include "base/TipsFile.h"

#include "base/NumberText.h"
#include "base/PrivateProfile.h"

#include <QDir>

namespace lendora {

namespace {
const QString kSection = QStringLiteral("TIP");
const QString kStart = QStringLiteral("START");
const QString kCurrent = QStringLiteral("CURRENT");
const QString kOpens = QStringLiteral("T");
const QString kStaysShut = QStringLiteral("F");
}  // namespace

QString TipsFile::fileName()
{
    return QStringLiteral("QUICKTIP.INI");
}

TipsFile::TipsFile(QString path) : m_path(std::move(path)) {}

TipsFile TipsFile::inFolder(const QString &appDir)
{
    return TipsFile(QDir(appDir).filePath(fileName()));
}

QString TipsFile::startKey()
{
    return kStart;
}

QString TipsFile::currentKey()
{
    return kCurrent;
}

QString TipsFile::keyAfter(const QString &key)
{
    return NumberText::fromDouble(NumberText::leadingValue(key) + 1);
}

QString TipsFile::firstKey()
{
    return QStringLiteral("1");
}

QString TipsFile::entryName(const QString &key)
{
    return kSection + QLatin1Char('/') + key;
}

std::optional<QString> TipsFile::read(const QString &key) const
{
    return PrivateProfile::read(m_path, kSection, key);
}

bool TipsFile::write(const QString &key, const QString &value) const
{
    return PrivateProfile::write(m_path, kSection, key, value);
}

bool TipsFile::opensAtStart(const QString &startValue)
{
    return startValue.trimmed() == kOpens;
}

QString TipsFile::startValue(bool opens)
{
    return opens ? kOpens : kStaysShut;
}

bool TipsFile::opensAtStart() const
{
    const std::optional<QString> start = read(kStart);
    return start && opensAtStart(*start);
}

}  // namespace lendora
