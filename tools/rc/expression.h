// Integer constant expressions: the C operators a resource script uses in
// ids, styles and #if lines, evaluated in 32 bits.
#pragma once

#include <cstdint>
#include <vector>

#include "token.h"

namespace rc {

struct Value {
    uint32_t number = 0;
    bool isLong = false;  // an operand carried an L suffix
};

class Expression {
   public:
    // In #if lines an identifier left after macro expansion counts as 0;
    // elsewhere it cannot be evaluated.
    Expression(const std::vector<Token> &tokens, size_t &pos, bool identifiersAreZero = false)
        : tokens_(tokens), pos_(pos), identifiersAreZero_(identifiersAreZero) {}

    // Reads operators binding at least as tightly as `minLevel` (see the
    // table in the .cpp); kAboveOr stops before '|'.
    static constexpr int kAboveOr = 4;
    Value Parse(int minLevel = 1);
    static int Level(const Token &t);

    static bool Starts(const Token &t);

   private:
    Value Unary();
    const Token &Peek() const;
    const std::vector<Token> &tokens_;
    size_t &pos_;
    bool identifiersAreZero_;
};

}  // namespace rc
