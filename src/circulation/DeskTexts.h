#pragma once

#include "circulation/LoanStore.h"

#include <QString>

namespace lendora {

// The messages the three circulation tabs share; each tab keeps its own beside them.
namespace desktexts {

inline const QString kEnterReader = QStringLiteral("请先输入读者编号");
inline const QString kEnterBook = QStringLiteral("请先输入书籍编号");
inline const QString kNoReader = QStringLiteral("没有该读者信息!");
inline const QString kNoBook = QStringLiteral("没有该书信息!");
inline const QString kReaderNameMissing =
    QStringLiteral("该读者没有登记姓名,请先在读者管理中补全!");
inline const QString kBookFieldMissing = QStringLiteral("该书的%1为空,请先在书库管理中补全!");
inline const QString kEngineFailed = QStringLiteral("数据库操作失败,没有做任何改动。\n%1");

// What the clerk is told when a reader lookup found no usable row.
inline QString readerNotFound(LoanStore::Found found, const QString &engineError)
{
    switch (found) {
    case LoanStore::Found::No:
        return kNoReader;
    case LoanStore::Found::Incomplete:
        return kReaderNameMissing;
    case LoanStore::Found::Failed:
        return kEngineFailed.arg(engineError);
    case LoanStore::Found::Yes:
        break;
    }
    return {};
}

}  // namespace desktexts
}  // namespace lendora
