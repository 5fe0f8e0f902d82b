#include "companions/quobin/Adder.h"

#include "companions/common/Word.h"

namespace companion {

Addition add(int a, int b) {
    Addition r;
    r.a = toWord(a);
    r.b = toWord(b);
    bool carry = false;
    for (int bit = 0; bit < kWordBits; ++bit) {
        BitAddition& column = r.bits[static_cast<std::size_t>(bit)];
        column.a = bitOf(r.a, bit);
        column.b = bitOf(r.b, bit);
        column.carryIn = carry;
        column.sum = (column.a != column.b) != carry;
        column.carryOut = (column.a && column.b) || (carry && (column.a != column.b));
        carry = column.carryOut;
        r.sum = withBit(r.sum, bit, column.sum);
    }
    r.carryOut = carry;
    r.exact = r.a + r.b;
    return r;
}

} // namespace companion
