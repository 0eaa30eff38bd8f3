#pragma once

#include <QString>

namespace lendora {

// The application title: caption of the main window and title of every message box
// that carries no title of its own.
inline const QString kAppTitle = QStringLiteral("岚枢图书管理系统");
// Title of the messages that carry one.
inline const QString kHintTitle = QStringLiteral("提示");

}  // namespace lendora
