#include "RowLimit.h"
#include "Tokenizer.h"
#include "platform/rtl/Exceptions.h"

namespace tsql {

QString WithRowLimit(const QString& sql, int n)
{
    if (n <= 0 || sql.contains(QLatin1String("--")))
        return sql;
    QVector<Token> toks;
    try {
        toks = Tokenize(sql);
    } catch (const Exception&) {
        return sql;   // the engine reports the text as it is
    }
    int at = 0;
    while (at < toks.size() && toks[at].isOp("("))
        ++at;   // "(select ...) union (select ...)"
    if (at >= toks.size() || !toks[at].isWord("select"))
        return sql;
    int depth = 0;
    for (const Token& t : toks) {
        if (t.isOp("(")) {
            ++depth;
        } else if (t.isOp(")")) {
            --depth;
        } else if (depth == 0 && (t.isOp(";") || t.isWord("limit") || t.isWord("offset") || t.isWord("fetch") ||
                                  t.isWord("into") || t.isWord("for"))) {
            return sql;
        }
    }
    return sql + QStringLiteral(" limit ") + QString::number(n);
}

} // namespace tsql
