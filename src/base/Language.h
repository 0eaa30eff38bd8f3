#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class QTranslator;

namespace lendora {

// The language of the interface. Chinese is the program's own; English comes from a
// translation loaded at start, before any window is made.
enum class Language { Chinese, English };

// A `Language` setting ("en" or "zh_CN"); without a value it knows, the system locale decides: English for an English one ("en", "en_GB.UTF-8"), Chinese for any other,
// "C" and "POSIX" included.
Language chooseLanguage(const QString &setting, const QString &localeName);
// The locale the system asks messages in: LC_ALL, LC_MESSAGES, LANG, then Qt's own answer.
QString systemLocaleName();
// The setting that stands for `language`, as chooseLanguage() reads it.
QString languageSettingValue(Language language);

// The program's translations and Qt's own (dialogs, standard buttons) for one language,
// installed on the application for as long as this lives. Chinese needs no file of the
// program's: its texts are the source.
class Translations {
public:
    // English falls back to Chinese when `folder` holds no lendora_en.qm.
    Translations(Language language, const QString &folder);
    ~Translations();
    Translations(const Translations &) = delete;
    Translations &operator=(const Translations &) = delete;

    // The files loaded, in the order installed.
    const QStringList &loaded() const { return m_loaded; }
    // The language whose translations are installed now; Chinese when none are.
    static Language inForce();

private:
    Language m_previous;
    std::vector<std::unique_ptr<QTranslator>> m_translators;
    QStringList m_loaded;
};

}  // namespace lendora
