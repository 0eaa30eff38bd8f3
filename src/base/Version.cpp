#include "base/Version.h"

namespace lendora {

QString GetVersionText(int major, int minor, int revision)
{
    const auto picture = [](int value, int width) {
        return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
    };
    return QString::number(major) + QLatin1Char('.') + picture(minor, 2) + QStringLiteral(" Build:")
           + picture(revision, 4);
}

QString GetVersionText()
{
    return GetVersionText(LENDORA_VERSION_MAJOR, LENDORA_VERSION_MINOR, LENDORA_VERSION_REVISION);
}

}  // namespace lendora
