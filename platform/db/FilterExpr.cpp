#include "FilterExpr.h"
#include "DataSet.h"
#include "platform/rtl/Format.h"
#include <QRegularExpression>

struct TFilterExpr::Node {
    enum Kind { Literal, FieldRef, Not, And, Or, Compare, IsNull, Like, In } kind = Literal;
    QString op;                 // comparison operator
    Variant value;              // literal
    QString name;               // field name
    bool negate = false;        // IS NOT NULL / NOT LIKE / NOT IN
    std::vector<std::shared_ptr<Node>> kids;
};

namespace {

using NodeP = std::shared_ptr<TFilterExpr::Node>;

[[noreturn]] void SyntaxError(const QString& text)
{
    DatabaseError(QString::fromUtf8(DBText::FilterSyntax).arg(text));
}

struct Token {
    enum Type { End, Ident, String, Number, Op, LParen, RParen, Comma } type = End;
    QString text;
};

class Parser {
public:
    explicit Parser(const QString& s) : m_s(s) { Advance(); }

    NodeP ParseAll()
    {
        NodeP n = ParseOr();
        if (m_tok.type != Token::End)
            SyntaxError(m_s);
        return n;
    }

private:
    bool IsWord(const char* w) const
    {
        return m_tok.type == Token::Ident && m_tok.text.compare(QLatin1String(w), Qt::CaseInsensitive) == 0;
    }

    void Advance()
    {
        while (m_pos < m_s.size() && m_s[m_pos].isSpace())
            ++m_pos;
        m_tok = Token();
        if (m_pos >= m_s.size())
            return;
        QChar c = m_s[m_pos];
        if (c == u'\'' || c == u'"') {
            QChar q = c;
            QString v;
            ++m_pos;
            for (;;) {
                if (m_pos >= m_s.size())
                    DatabaseError(QString::fromUtf8(DBText::FilterParse));
                if (m_s[m_pos] == q) {
                    if (m_pos + 1 < m_s.size() && m_s[m_pos + 1] == q) {
                        v += q;
                        m_pos += 2;
                        continue;
                    }
                    ++m_pos;
                    break;
                }
                v += m_s[m_pos++];
            }
            m_tok = {Token::String, v};
        } else if (c.isDigit() || (c == u'.' && m_pos + 1 < m_s.size() && m_s[m_pos + 1].isDigit())) {
            int start = m_pos;
            while (m_pos < m_s.size() && (m_s[m_pos].isDigit() || m_s[m_pos] == u'.'))
                ++m_pos;
            m_tok = {Token::Number, m_s.mid(start, m_pos - start)};
        } else if (c == u'[') {
            int end = m_s.indexOf(u']', m_pos);
            if (end < 0)
                DatabaseError(QString::fromUtf8(DBText::FilterParse));
            m_tok = {Token::Ident, m_s.mid(m_pos + 1, end - m_pos - 1)};
            m_tok.text.prepend(u'\x01');   // marks a bracketed name: never a keyword
            m_pos = end + 1;
        } else if (c.isLetter() || c == u'_') {
            int start = m_pos;
            while (m_pos < m_s.size() && (m_s[m_pos].isLetterOrNumber() || m_s[m_pos] == u'_' || m_s[m_pos] == u'.'))
                ++m_pos;
            m_tok = {Token::Ident, m_s.mid(start, m_pos - start)};
        } else if (c == u'(') {
            ++m_pos;
            m_tok = {Token::LParen, QStringLiteral("(")};
        } else if (c == u')') {
            ++m_pos;
            m_tok = {Token::RParen, QStringLiteral(")")};
        } else if (c == u',') {
            ++m_pos;
            m_tok = {Token::Comma, QStringLiteral(",")};
        } else {
            static const char* ops[] = {"<>", "<=", ">=", "!=", "=", "<", ">"};
            for (const char* op : ops) {
                QLatin1String l(op);
                if (QStringView(m_s).mid(m_pos).startsWith(l)) {
                    m_pos += int(l.size());
                    m_tok = {Token::Op, QString(l == QLatin1String("!=") ? QLatin1String("<>") : l)};
                    return;
                }
            }
            SyntaxError(m_s);
        }
    }

    NodeP Make(TFilterExpr::Node::Kind k, std::vector<NodeP> kids = {})
    {
        auto n = std::make_shared<TFilterExpr::Node>();
        n->kind = k;
        n->kids = std::move(kids);
        return n;
    }

    NodeP ParseOr()
    {
        NodeP l = ParseAnd();
        while (IsWord("or")) {
            Advance();
            l = Make(TFilterExpr::Node::Or, {l, ParseAnd()});
        }
        return l;
    }

    NodeP ParseAnd()
    {
        NodeP l = ParseNot();
        while (IsWord("and")) {
            Advance();
            l = Make(TFilterExpr::Node::And, {l, ParseNot()});
        }
        return l;
    }

    NodeP ParseNot()
    {
        if (IsWord("not")) {
            Advance();
            return Make(TFilterExpr::Node::Not, {ParseNot()});
        }
        return ParseCompare();
    }

    NodeP ParseCompare()
    {
        NodeP l = ParsePrimary();
        if (m_tok.type == Token::Op) {
            QString op = m_tok.text;
            Advance();
            NodeP r = ParsePrimary();
            NodeP n = Make(TFilterExpr::Node::Compare, {l, r});
            n->op = op;
            return n;
        }
        if (IsWord("is")) {
            Advance();
            bool neg = false;
            if (IsWord("not")) {
                neg = true;
                Advance();
            }
            if (!IsWord("null"))
                SyntaxError(m_s);
            Advance();
            NodeP n = Make(TFilterExpr::Node::IsNull, {l});
            n->negate = neg;
            return n;
        }
        bool neg = false;
        if (IsWord("not")) {
            neg = true;
            Advance();
        }
        if (IsWord("like")) {
            Advance();
            NodeP n = Make(TFilterExpr::Node::Like, {l, ParsePrimary()});
            n->negate = neg;
            return n;
        }
        if (IsWord("in")) {
            Advance();
            if (m_tok.type != Token::LParen)
                SyntaxError(m_s);
            Advance();
            std::vector<NodeP> kids{l};
            for (;;) {
                kids.push_back(ParsePrimary());
                if (m_tok.type == Token::Comma) {
                    Advance();
                    continue;
                }
                if (m_tok.type != Token::RParen)
                    SyntaxError(m_s);
                Advance();
                break;
            }
            NodeP n = Make(TFilterExpr::Node::In, std::move(kids));
            n->negate = neg;
            return n;
        }
        if (neg)
            SyntaxError(m_s);
        return l;
    }

    NodeP ParsePrimary()
    {
        switch (m_tok.type) {
        case Token::LParen: {
            Advance();
            NodeP n = ParseOr();
            if (m_tok.type != Token::RParen)
                SyntaxError(m_s);
            Advance();
            return n;
        }
        case Token::String: {
            NodeP n = Make(TFilterExpr::Node::Literal);
            n->value = Variant(m_tok.text);
            Advance();
            return n;
        }
        case Token::Number: {
            NodeP n = Make(TFilterExpr::Node::Literal);
            bool isInt = !m_tok.text.contains(u'.');
            n->value = isInt ? Variant(StrToInt64(m_tok.text)) : Variant(StrToFloat(m_tok.text));
            Advance();
            return n;
        }
        case Token::Op:
            if (m_tok.text == QLatin1String("-") || m_tok.text == QLatin1String("+"))
                break;
            SyntaxError(m_s);
        case Token::Ident: {
            NodeP n;
            if (IsWord("null")) {
                n = Make(TFilterExpr::Node::Literal);
                n->value = Variant::Null();
            } else if (IsWord("true") || IsWord("false")) {
                n = Make(TFilterExpr::Node::Literal);
                n->value = Variant(IsWord("true"));
            } else {
                n = Make(TFilterExpr::Node::FieldRef);
                n->name = m_tok.text.startsWith(u'\x01') ? m_tok.text.mid(1) : m_tok.text;
            }
            Advance();
            return n;
        }
        default:
            break;
        }
        SyntaxError(m_s);
    }

    QString m_s;
    int m_pos = 0;
    Token m_tok;
};

struct Evaluator {
    TDataSet* ds;
    TFilterOptions options;

    Qt::CaseSensitivity Cs() const
    {
        return (options & foCaseInsensitive) ? Qt::CaseInsensitive : Qt::CaseSensitive;
    }

    TField* FieldOf(const TFilterExpr::Node& n) const
    {
        return n.kind == TFilterExpr::Node::FieldRef ? ds->FieldByName(n.name) : nullptr;
    }

    Variant Value(const TFilterExpr::Node& n) const
    {
        switch (n.kind) {
        case TFilterExpr::Node::Literal: return n.value;
        case TFilterExpr::Node::FieldRef: return ds->FieldByName(n.name)->Value();
        default: return Variant(Test(n));
        }
    }

    // Compares a against b; the literal side takes the field's type when the other is a field.
    static int CompareValues(const Variant& a, const Variant& b, Qt::CaseSensitivity cs)
    {
        if (a.Type() == VarType::String && b.Type() == VarType::String)
            return a.AsStringRaw().compare(b.AsStringRaw(), cs);
        return Variant::Compare(a, b, cs == Qt::CaseInsensitive);
    }

    bool CompareNode(const TFilterExpr::Node& n) const
    {
        const auto& ln = *n.kids[0];
        const auto& rn = *n.kids[1];
        Variant l = Value(ln), r = Value(rn);
        if (l.IsNull() || r.IsNull()) {
            bool bothNull = l.IsNull() && r.IsNull();
            if (n.op == QLatin1String("="))
                return bothNull;
            if (n.op == QLatin1String("<>"))
                return !bothNull;
            return false;
        }
        TField* lf = FieldOf(ln);
        TField* rf = FieldOf(rn);
        // A text literal against a non-text field is converted to the field's type.
        if (lf && !rf && r.Type() == VarType::String && l.Type() != VarType::String)
            r = lf->ConvertValue(r);
        else if (rf && !lf && l.Type() == VarType::String && r.Type() != VarType::String)
            l = rf->ConvertValue(l);
        // 'abc*' matches as a prefix.
        if (n.op == QLatin1String("=") && r.Type() == VarType::String && l.Type() == VarType::String
            && !(options & foNoPartialCompare) && r.AsStringRaw().endsWith(u'*'))
            return l.AsStringRaw().startsWith(r.AsStringRaw().chopped(1), Cs());
        int c = CompareValues(l, r, Cs());
        if (n.op == QLatin1String("=")) return c == 0;
        if (n.op == QLatin1String("<>")) return c != 0;
        if (n.op == QLatin1String("<")) return c < 0;
        if (n.op == QLatin1String(">")) return c > 0;
        if (n.op == QLatin1String("<=")) return c <= 0;
        return c >= 0;
    }

    bool LikeNode(const TFilterExpr::Node& n) const
    {
        Variant l = Value(*n.kids[0]), r = Value(*n.kids[1]);
        if (l.IsNull() || r.IsNull())
            return false;
        // % and _ are the wildcards; every other character stands for itself.
        QString pat;
        for (QChar ch : r.ToString()) {
            if (ch == u'%')
                pat += QLatin1String(".*");
            else if (ch == u'_')
                pat += QLatin1Char('.');
            else
                pat += QRegularExpression::escape(QString(ch));
        }
        QRegularExpression re(QLatin1Char('^') + pat + QLatin1Char('$'),
                              (options & foCaseInsensitive) ? QRegularExpression::CaseInsensitiveOption
                                                            : QRegularExpression::NoPatternOption);
        return re.match(l.ToString()).hasMatch() != n.negate;
    }

    bool Test(const TFilterExpr::Node& n) const
    {
        switch (n.kind) {
        case TFilterExpr::Node::Not: return !Test(*n.kids[0]);
        case TFilterExpr::Node::And: return Test(*n.kids[0]) && Test(*n.kids[1]);
        case TFilterExpr::Node::Or: return Test(*n.kids[0]) || Test(*n.kids[1]);
        case TFilterExpr::Node::Compare: return CompareNode(n);
        case TFilterExpr::Node::IsNull: return Value(*n.kids[0]).IsNull() != n.negate;
        case TFilterExpr::Node::Like: return LikeNode(n);
        case TFilterExpr::Node::In: {
            Variant l = Value(*n.kids[0]);
            bool found = false;
            for (size_t i = 1; i < n.kids.size() && !found && !l.IsNull(); ++i) {
                Variant r = Value(*n.kids[i]);
                if (TField* f = FieldOf(*n.kids[0]); f && r.Type() == VarType::String && l.Type() != VarType::String)
                    r = f->ConvertValue(r);
                found = !r.IsNull() && CompareValues(l, r, Cs()) == 0;
            }
            return found != n.negate;
        }
        case TFilterExpr::Node::Literal: return !n.value.IsEmptyOrNull() && n.value.ToBool();
        case TFilterExpr::Node::FieldRef: {
            Variant v = Value(n);
            return !v.IsNull() && v.ToBool();
        }
        }
        return false;
    }
};

} // namespace

std::shared_ptr<TFilterExpr> TFilterExpr::Parse(const QString& text)
{
    auto e = std::make_shared<TFilterExpr>();
    e->m_root = Parser(text).ParseAll();
    return e;
}

bool TFilterExpr::Matches(TDataSet* ds, TFilterOptions options) const
{
    return m_root ? Evaluator{ds, options}.Test(*m_root) : true;
}
