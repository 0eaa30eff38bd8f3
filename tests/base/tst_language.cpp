#include "TestMain.h"
#include "base/AppDirectory.h"
#include "base/DeskSettings.h"
#include "base/Language.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using lendora::Language;
using lendora::Translations;

namespace {

// Sets the locale variables for one test and puts back what was there.
class LocaleVariables {
public:
    LocaleVariables(const QByteArray &all, const QByteArray &messages, const QByteArray &lang)
    {
        set("LC_ALL", all);
        set("LC_MESSAGES", messages);
        set("LANG", lang);
    }
    ~LocaleVariables()
    {
        for (const auto &[name, value] : m_saved) {
            if (value)
                qputenv(name, *value);
            else
                qunsetenv(name);
        }
    }
    LocaleVariables(const LocaleVariables &) = delete;
    LocaleVariables &operator=(const LocaleVariables &) = delete;

private:
    void set(const char *name, const QByteArray &value)
    {
        m_saved.emplace_back(name, qEnvironmentVariableIsSet(name)
                                       ? std::optional<QByteArray>(qgetenv(name))
                                       : std::nullopt);
        qputenv(name, value);
    }
    std::vector<std::pair<const char *, std::optional<QByteArray>>> m_saved;
};

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

}  // namespace

class LanguageTest : public QObject {
    Q_OBJECT

private slots:
    void choice_data();
    void choice();
    void systemLocale_data();
    void systemLocale();
    void fromSettings_data();
    void fromSettings();
    void translationsFolder_data();
    void translationsFolder();
    void englishLoadsItsFiles();
    void englishWithoutItsFileStaysChinese();
};

void LanguageTest::choice_data()
{
    QTest::addColumn<QString>("setting");  // the Language key's value; "" when missing
    QTest::addColumn<QString>("locale");
    QTest::addColumn<Language>("language");

    const Language en = Language::English;
    const Language zh = Language::Chinese;
    QTest::newRow("en, Chinese locale") << "en"
                                        << "zh_CN.UTF-8" << en;
    QTest::newRow("en, C locale") << "en"
                                  << "C" << en;
    QTest::newRow("en with blanks and capitals") << " EN "
                                                 << "C" << en;
    QTest::newRow("zh_CN, English locale") << "zh_CN"
                                           << "en_US.UTF-8" << zh;
    QTest::newRow("zh_cn, English locale") << "zh_cn"
                                           << "en_GB" << zh;
    QTest::newRow("none, en_US.UTF-8") << ""
                                       << "en_US.UTF-8" << en;
    QTest::newRow("none, en_GB") << ""
                                 << "en_GB" << en;
    QTest::newRow("none, en") << ""
                              << "en" << en;
    QTest::newRow("none, en_IE@euro") << ""
                                      << "en_IE@euro" << en;
    QTest::newRow("none, zh_CN.UTF-8") << ""
                                       << "zh_CN.UTF-8" << zh;
    QTest::newRow("none, de_DE") << ""
                                 << "de_DE.UTF-8" << zh;
    QTest::newRow("none, C") << ""
                             << "C" << zh;
    QTest::newRow("none, C.UTF-8") << ""
                                   << "C.UTF-8" << zh;
    QTest::newRow("none, POSIX") << ""
                                 << "POSIX" << zh;
    QTest::newRow("none, nothing") << ""
                                   << "" << zh;
    QTest::newRow("none, a language starting with en") << ""
                                                       << "eng_XX" << zh;
    QTest::newRow("unknown value, English locale") << "fr"
                                                   << "en_US" << en;
    QTest::newRow("unknown value, C locale") << "english"
                                             << "C" << zh;
}

void LanguageTest::choice()
{
    QFETCH(QString, setting);
    QFETCH(QString, locale);
    QFETCH(Language, language);
    QCOMPARE(lendora::chooseLanguage(setting, locale), language);
}

void LanguageTest::systemLocale_data()
{
    QTest::addColumn<QByteArray>("all");
    QTest::addColumn<QByteArray>("messages");
    QTest::addColumn<QByteArray>("lang");
    QTest::addColumn<QString>("name");
    QTest::newRow("LC_ALL first") << QByteArray("C.UTF-8") << QByteArray("en_US.UTF-8")
                                  << QByteArray("en_GB.UTF-8") << "C.UTF-8";
    QTest::newRow("LC_MESSAGES before LANG")
        << QByteArray() << QByteArray("en_US.UTF-8") << QByteArray("zh_CN.UTF-8") << "en_US.UTF-8";
    QTest::newRow("LANG alone") << QByteArray() << QByteArray() << QByteArray("en_GB.UTF-8")
                                << "en_GB.UTF-8";
}

void LanguageTest::systemLocale()
{
    QFETCH(QByteArray, all);
    QFETCH(QByteArray, messages);
    QFETCH(QByteArray, lang);
    QFETCH(QString, name);
    const LocaleVariables variables(all, messages, lang);
    QCOMPARE(lendora::systemLocaleName(), name);
}

void LanguageTest::fromSettings_data()
{
    QTest::addColumn<QByteArray>("file");  // empty: no settings file
    QTest::addColumn<QByteArray>("lang");
    QTest::addColumn<Language>("language");
    QTest::newRow("no file, English system")
        << QByteArray() << QByteArray("en_US.UTF-8") << Language::English;
    QTest::newRow("no key, English system")
        << QByteArray("LoadStyle=1\r\n") << QByteArray("en_US.UTF-8") << Language::English;
    QTest::newRow("no key, Chinese system")
        << QByteArray("LoadStyle=1\r\n") << QByteArray("zh_CN.UTF-8") << Language::Chinese;
    QTest::newRow("en among other keys, Chinese system")
        << QByteArray("LoadStyle=1\r\nLanguage=en\r\nLibraryName=x\r\n")
        << QByteArray("zh_CN.UTF-8") << Language::English;
    QTest::newRow("zh_CN, English system, LF line ends")
        << QByteArray("Language=zh_CN\n") << QByteArray("en_US.UTF-8") << Language::Chinese;
}

void LanguageTest::fromSettings()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, lang);
    QFETCH(Language, language);
    QTemporaryDir dir;
    const QString path = dir.filePath("setting.ini");
    if (!file.isEmpty())
        writeFile(path, file);
    const LocaleVariables variables({}, {}, lang);
    QCOMPARE(lendora::DeskSettings(path).language(), language);
}

void LanguageTest::translationsFolder_data()
{
    QTest::addColumn<QString>("program");  // below the scratch folder
    QTest::addColumn<QString>("folder");
    QTest::newRow("installed") << "usr/bin"
                               << "usr/share/lendora/translations";
    QTest::newRow("a build") << "build/bin"
                             << "build/bin/translations";
    QTest::newRow("bin without share/lendora") << "opt/bin"
                                               << "opt/bin/translations";
}

void LanguageTest::translationsFolder()
{
    QFETCH(QString, program);
    QFETCH(QString, folder);
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath("usr/bin"));
    QVERIFY(QDir(root.path()).mkpath("usr/share/lendora"));
    QVERIFY(QDir(root.path()).mkpath("build/bin"));
    QVERIFY(QDir(root.path()).mkpath("opt/bin"));
    QCOMPARE(lendora::AppDirectory::translationsDir(root.filePath(program)), root.filePath(folder));
}

void LanguageTest::englishLoadsItsFiles()
{
    const QString folder = QStringLiteral(LENDORA_TRANSLATIONS_DIR);
    {
        const Translations english(Language::English, folder);
        QCOMPARE(Translations::inForce(), Language::English);
        QVERIFY(!english.loaded().isEmpty());
        QCOMPARE(english.loaded().first(), QFileInfo(folder + "/lendora_en.qm").absoluteFilePath());
        for (const QString &file : english.loaded())
            QVERIFY2(!QFileInfo(file).fileName().contains("zh"), qPrintable(file));
    }
    QCOMPARE(Translations::inForce(), Language::Chinese);
    // Qt's own texts in Chinese for the Chinese desk.
    const Translations chinese(Language::Chinese, folder);
    QCOMPARE(Translations::inForce(), Language::Chinese);
    QCOMPARE(chinese.loaded().size(), 1);
    QCOMPARE(QFileInfo(chinese.loaded().first()).fileName(), "qtbase_zh_CN.qm");
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString::fromUtf8("取消"));
}

void LanguageTest::englishWithoutItsFileStaysChinese()
{
    QTemporaryDir empty;
    const Translations english(Language::English, empty.path());
    QCOMPARE(Translations::inForce(), Language::Chinese);
    for (const QString &file : english.loaded())
        QVERIFY2(!QFileInfo(file).fileName().startsWith("lendora"), qPrintable(file));
}

LENDORA_TEST_CLASS(LanguageTest)
#include "tst_language.moc"
