#pragma once

#include "data/DbError.h"

#include <QCoreApplication>
#include <QString>

namespace lendora {

// Translated when asked for, so a translator installed at start-up applies.

// The application title: caption of the main window and title of every message box
// that carries no title of its own.
inline QString appTitle()
{
    return QCoreApplication::translate("Texts", "岚枢图书管理系统");
}
// Title of the messages that carry one.
inline QString hintTitle()
{
    return QCoreApplication::translate("Texts", "提示");
}

// A window's own text for a refused change, then the engine's cause in the clerk's words.
inline QString withCause(const QString &text, const DbError &error)
{
    return error.isError() ? text + QLatin1Char('\n') + error.forClerk() : text;
}

}  // namespace lendora
