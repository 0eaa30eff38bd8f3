#pragma once

#include <QDate>
#include <QString>
#include <functional>

namespace lendora {

class Prompter;
class Launcher;

struct Environment {
    QString appDir;  // the application directory
    Prompter *prompter = nullptr;
    Launcher *launcher = nullptr;
    std::function<QDate()> today;  // the one source of "today"
};

}  // namespace lendora
