#include "base/Language.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace lendora {

namespace {
const QString kEnglish = QStringLiteral("en");
const QString kChinese = QStringLiteral("zh_CN");

Language languageInForce = Language::Chinese;

// "en_GB.UTF-8@euro" -> "en"
QString languagePart(const QString &localeName)
{
    QString name = localeName.trimmed();
    for (const QChar end : {QLatin1Char('.'), QLatin1Char('@'), QLatin1Char('_'), QLatin1Char('-')})
        name = name.section(end, 0, 0);
    return name.toLower();
}
}  // namespace

Language chooseLanguage(const QString &setting, const QString &localeName)
{
    const QString value = setting.trimmed();
    if (value.compare(kEnglish, Qt::CaseInsensitive) == 0)
        return Language::English;
    if (value.compare(kChinese, Qt::CaseInsensitive) == 0)
        return Language::Chinese;
    return languagePart(localeName) == kEnglish ? Language::English : Language::Chinese;
}

QString systemLocaleName()
{
    // The order the C library asks in for messages; an empty variable counts as unset.
    for (const char *variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(variable);
        if (!value.isEmpty())
            return value;
    }
    return QLocale::system().name();
}

QString languageSettingValue(Language language)
{
    return language == Language::English ? kEnglish : kChinese;
}

Translations::Translations(Language language, const QString &folder) : m_previous(languageInForce)
{
    const auto install = [this](const QString &name, const QString &dir) {
        auto translator = std::make_unique<QTranslator>();
        if (!translator->load(name, dir))
            return false;
        QCoreApplication::installTranslator(translator.get());
        m_loaded << QFileInfo(translator->filePath()).absoluteFilePath();
        m_translators.push_back(std::move(translator));
        return true;
    };
    // Without the program's own file the desk stays Chinese, and so do Qt's dialogs.
    if (language == Language::English && !install(QStringLiteral("lendora_en"), folder))
        language = Language::Chinese;
    const QString qtFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    install(language == Language::English ? QStringLiteral("qtbase_en")
                                          : QStringLiteral("qtbase_zh_CN"),
            qtFolder);
    languageInForce = language;
}

Translations::~Translations()
{
    for (const auto &translator : m_translators)
        QCoreApplication::removeTranslator(translator.get());
    languageInForce = m_previous;
}

Language Translations::inForce()
{
    return languageInForce;
}

}  // namespace lendora
