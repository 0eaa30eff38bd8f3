#include "app/StartupChecks.h"

#include "base/DateText.h"
#include "core/catalogue/CategoryStore.h"
#include "core/circulation/LoanDates.h"
#include "gui/widgets/Prompter.h"
#include "gui/widgets/Texts.h"

#include <QCoreApplication>

namespace lendora {

namespace {
const char *const kClockBehind = QT_TRANSLATE_NOOP(
    "lendora::StartupChecks", "电脑的日期(%1)早于数据库中最近的借还日期(%2)。\n"
                              "请检查并改正电脑的日期,否则借还日期和罚款会出错。");
const char *const kUnchoosableCategories =
    QT_TRANSLATE_NOOP("lendora::StartupChecks",
                      "以下类别的代码不是一个字符,在图书窗口中不能选择:\n%1\n"
                      "要把图书归入这些类别,请在“图书类别”中添加一个字符代码的类别代替它们。");

QString tr(const char *text)
{
    return QCoreApplication::translate("lendora::StartupChecks", text);
}
}  // namespace

void StartupChecks::clock(const QDate &today)
{
    const QDate newest = LoanDates(m_database).newest();
    if (newest.isValid() && today < newest)
        m_prompter.message(
            {tr(kClockBehind).arg(DateText::toText(today), DateText::toText(newest)), appTitle()});
}

void StartupChecks::categories()
{
    QStringList entries;
    for (const Category &category : CategoryStore(m_database).unchoosable())
        entries << category.code + QLatin1Char('-') + category.name;
    if (!entries.isEmpty())
        m_prompter.message(
            {tr(kUnchoosableCategories).arg(entries.join(QLatin1Char('\n'))), appTitle()});
}

}  // namespace lendora
