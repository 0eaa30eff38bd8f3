#include "data/SqlMatch.h"

namespace lendora {

QString SqlMatch::escapeLike(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('%') || c == QLatin1Char('_'))
            escaped += QLatin1Char('\\');
        escaped += c;
    }
    return escaped;
}

SqlCondition SqlMatch::exact(const QString &column, const QString &text)
{
    return {column + QStringLiteral("=?"), text};
}

SqlCondition SqlMatch::partial(const QString &column, const QString &text)
{
    return {column + QStringLiteral(" like '%' || ? || '%' escape '\\'"), escapeLike(text)};
}

SqlCondition SqlMatch::match(const QString &column, const QString &text, bool partialMatch)
{
    return partialMatch ? partial(column, text) : exact(column, text);
}

}  // namespace lendora
