#pragma once

#include <QString>

namespace lendora {

enum class Buttons { Ok, OkCancel };
enum class Icon { None, Information, Error };

struct Prompt {
    QString text;
    QString title;
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
};

// Every message box and input box goes through this, so windows can be driven by tests.
class Prompter {
public:
    virtual ~Prompter() = default;
    virtual void message(const Prompt &p) = 0;  // modal, OK only
    virtual bool confirm(const Prompt &p) = 0;  // modal, OK/Cancel; true on OK
    virtual QString input(const QString &prompt, const QString &title,
                          const QString &defaultText) = 0;  // Cancel gives ""
};

}  // namespace lendora
