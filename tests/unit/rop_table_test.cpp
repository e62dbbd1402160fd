// The ROP table against the published table, and operand swapping against a truth-table model.
#include "render/maskblt.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

// A reverse Polish formula over P, S, D evaluated on the 8 combinations at once.
uint8_t EvaluateRpn(const std::string &rpn)
{
    if (rpn == "0" || rpn == "1")
        return rpn == "1" ? 0xFF : 0x00;
    std::vector<uint8_t> stack;
    for (char c : rpn) {
        if (c == 'P' || c == 'S' || c == 'D') {
            stack.push_back(c == 'P' ? 0xF0 : c == 'S' ? 0xCC : 0xAA);
        } else if (c == 'n') {
            stack.back() = (uint8_t)~stack.back();
        } else {
            uint8_t b = stack.back();
            stack.pop_back();
            uint8_t &a = stack.back();
            a = c == 'a' ? a & b : c == 'o' ? a | b : a ^ b;
        }
    }
    return stack.back();
}

TEST(RopTable, IsThePublishedTable)
{
    std::ifstream file(TEST_DATA "rop3.tsv");
    ASSERT_TRUE(file.good()) << TEST_DATA "rop3.tsv";
    std::string rpn;
    std::getline(file, rpn); // column names
    unsigned index, code, rows = 0;
    for (; file >> std::hex >> index >> code >> rpn; rows++) {
        ASSERT_EQ(EvaluateRpn(rpn), index) << "the data itself: " << rpn;
        EXPECT_EQ(Render_GetRopCode((uint8_t)index), code) << rpn;
    }
    EXPECT_EQ(rows, 256u);
}

TEST(SwapRopOperands, ExchangesSourceAndDestination)
{
    for (int i = 0; i < 256; i++) {
        uint8_t swapped = Render_SwapRopOperands((uint8_t)i);
        // f(p, s, d) = g(p, d, s) for every operand combination.
        for (int p = 0; p < 2; p++)
            for (int s = 0; s < 2; s++)
                for (int d = 0; d < 2; d++)
                    ASSERT_EQ((i >> (4 * p + 2 * s + d)) & 1, (swapped >> (4 * p + 2 * d + s)) & 1)
                        << i;
    }
}

} // namespace
