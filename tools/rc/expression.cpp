#include "expression.h"

#include <string>

namespace rc {

int Expression::Level(const Token &t) {
    if (t.kind != TokenKind::Punct) return 0;
    static const struct {
        const char *op;
        int level;
    } kLevels[] = {{"||", 1}, {"&&", 2}, {"|", 3},  {"^", 4},  {"&", 5},  {"==", 6}, {"!=", 6},
                   {"<", 7},  {">", 7},  {"<=", 7}, {">=", 7}, {"<<", 8}, {">>", 8}, {"+", 9},
                   {"-", 9},  {"*", 10}, {"/", 10}, {"%", 10}};
    for (const auto &l : kLevels)
        if (t.text == l.op) return l.level;
    return 0;
}

bool Expression::Starts(const Token &t) {
    return t.kind == TokenKind::Number || t.Is("(") || t.Is("-") || t.Is("+") || t.Is("~") || t.Is("!");
}

const Token &Expression::Peek() const {
    if (pos_ >= tokens_.size()) {
        const Location &where = tokens_.empty() ? Location{} : tokens_.back().where;
        throw Error(where, "expression ends too early");
    }
    return tokens_[pos_];
}

Value Expression::Unary() {
    const Token &t = Peek();
    ++pos_;
    if (t.kind == TokenKind::Number) return {t.number, t.isLong};
    if (t.Is("(")) {
        Value v = Parse();
        if (!Peek().Is(")")) throw Error(Peek().where, "')' expected");
        ++pos_;
        return v;
    }
    if (t.Is("-") || t.Is("+") || t.Is("~") || t.Is("!")) {
        Value v = Unary();
        if (t.Is("-")) v.number = 0u - v.number;
        if (t.Is("~")) v.number = ~v.number;
        if (t.Is("!")) v.number = v.number == 0;
        return v;
    }
    if (t.kind == TokenKind::Identifier) {
        if (identifiersAreZero_) return {};
        throw Error(t.where, "undefined symbol '" + t.text + "' in an expression");
    }
    if (t.kind == TokenKind::String) throw Error(t.where, "a string where a number is expected");
    throw Error(t.where, "unexpected '" + t.text + "' in an expression");
}

Value Expression::Parse(int minLevel) {
    Value left = Unary();
    for (;;) {
        if (pos_ >= tokens_.size()) return left;
        const Token &op = tokens_[pos_];
        int level = Level(op);
        if (level == 0 || level < minLevel) return left;
        ++pos_;
        Value right = Parse(level + 1);
        uint32_t a = left.number, b = right.number;
        auto sa = static_cast<int32_t>(a), sb = static_cast<int32_t>(b);
        uint32_t r = 0;
        const std::string &o = op.text;
        if (o == "||") r = a || b;
        else if (o == "&&") r = a && b;
        else if (o == "|") r = a | b;
        else if (o == "^") r = a ^ b;
        else if (o == "&") r = a & b;
        else if (o == "==") r = a == b;
        else if (o == "!=") r = a != b;
        else if (o == "<") r = sa < sb;
        else if (o == ">") r = sa > sb;
        else if (o == "<=") r = sa <= sb;
        else if (o == ">=") r = sa >= sb;
        else if (o == "<<") r = b >= 32 ? 0 : a << b;
        else if (o == ">>") r = b >= 32 ? 0 : a >> b;
        else if (o == "+") r = a + b;
        else if (o == "-") r = a - b;
        else if (o == "*") r = a * b;
        else {
            if (b == 0) throw Error(op.where, "division by zero");
            bool overflow = sa == INT32_MIN && sb == -1;
            r = o == "/" ? (overflow ? a : static_cast<uint32_t>(sa / sb)) : (overflow ? 0 : static_cast<uint32_t>(sa % sb));
        }
        left = {r, left.isLong || right.isLong};
    }
}

}  // namespace rc
