#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace lendora {

// A list file of book or reader numbers: one number a line, in the file's order, UTF-8 (a
// GB18030 file from an older desk is read too). Blanks around a number and empty lines are
// dropped. nullopt with the clerk's reason in `problem` when it cannot be read.
std::optional<QStringList> readNumberList(const QString &path, QString *problem);

}  // namespace lendora
