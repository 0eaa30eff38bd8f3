#pragma once

#include <QWidget>

namespace lendora {

class WindowContext;

// FrmReadme, "使用帮助": the help file shown by the program itself, read-only, for desktops
// that have nothing installed to open a text file.
class ReadmeWindow : public QWidget {
    Q_OBJECT
public:
    ReadmeWindow(WindowContext &context, const QString &text);
};

}  // namespace lendora
