#pragma once

#include "gui/widgets/Prompter.h"

#include <memory>

class QMessageBox;
class QWidget;

namespace lendora {

// The real message and input boxes.
class QtPrompter : public Prompter {
public:
    void message(const Prompt &p) override;
    bool confirm(const Prompt &p) override;
    QString input(const QString &prompt, const QString &title, const QString &defaultText) override;

    // The box a prompt shows, not shown yet.
    static std::unique_ptr<QMessageBox> messageBox(const Prompt &p, QWidget *parent);
    // The least width of a box whose frame shows `title` whole: the window manager draws the
    // title and cuts it short, with "…", when the box is narrower.
    static int widthForTitle(const QString &title);
};

}  // namespace lendora
