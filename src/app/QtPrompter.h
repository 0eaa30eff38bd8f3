#pragma once

#include "widgets/Prompter.h"

namespace lendora {

// The real message and input boxes.
class QtPrompter : public Prompter {
public:
    void message(const Prompt &p) override;
    bool confirm(const Prompt &p) override;
    QString input(const QString &prompt, const QString &title, const QString &defaultText) override;
};

}  // namespace lendora
