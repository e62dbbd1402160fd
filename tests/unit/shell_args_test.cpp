// Command-line splitting and the argument tail, against an independent model of the rules.
#include "shell/shell.h"
#include "tests/unit/args_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iomanip>
#include <optional>
#include <random>
#include <sstream>

namespace {

typedef std::vector<std::string> Args;

// Splits with the front-end, checking the block: pointers, then the arguments back to back up
// to the measured size, nothing past it.
Args Split(const char *line)
{
    uint32_t count = 0xDEADu;
    size_t size = Main_MeasureArgs(line, &count);
    std::vector<char> block(size + 64, '\x7f');
    Main_SplitArgs(line, count, block.data(), size);
    Args out;
    char **pointers = (char **)block.data();
    char *expected = block.data() + count * sizeof(char *);
    for (uint32_t i = 0; i < count; i++) {
        EXPECT_EQ(pointers[i], expected) << "argument " << i;
        out.push_back(pointers[i]);
        expected += out.back().size() + 1;
    }
    EXPECT_EQ(expected, block.data() + size);
    EXPECT_EQ(std::count(block.begin() + size, block.end(), '\x7f'), 64) << "written past";
    return out;
}

// The case file's rows of a kind: quoted strings (\" and \\ escaped) or null, each.
std::vector<std::vector<std::optional<std::string>>> Cases(const std::string &kind)
{
    std::ifstream file(TEST_DATA "args.txt");
    EXPECT_TRUE(file.good()) << TEST_DATA "args.txt";
    std::vector<std::vector<std::optional<std::string>>> rows;
    for (std::string line, word; std::getline(file, line);) {
        std::istringstream in(line);
        if (!(in >> word) || word != kind)
            continue;
        rows.emplace_back();
        while (in >> std::ws && !in.eof()) {
            bool quoted = in.peek() == '"';
            in >> std::quoted(word);
            rows.back().push_back(quoted ? std::optional<std::string>(word) : std::nullopt);
        }
    }
    EXPECT_FALSE(rows.empty()) << kind;
    return rows;
}

TEST(SplitArgs, FollowsTheSplittingRules)
{
    for (const auto &row : Cases("split")) {
        Args expected;
        for (size_t i = 1; i < row.size(); i++)
            expected.push_back(*row[i]);
        EXPECT_EQ(Split(row[0]->c_str()), expected) << "[" << *row[0] << "]";
    }
}

TEST(SplitArgs, AgreesWithTheModelOnRandomLines)
{
    std::mt19937 random(1234);
    const char alphabet[] = {'a', 'b', ' ', ' ', '"', '\t', '\\'};
    for (int round = 0; round < 20000; round++) {
        std::string line(random() % 24, ' ');
        for (char &c : line)
            c = alphabet[random() % sizeof alphabet];
        ASSERT_EQ(Split(line.c_str()), ModelSplit(line)) << "[" << line << "]";
    }
}

TEST(SplitArgs, NeverWritesPastTheBlockWhateverTheCount)
{
    // A count other than the measured one must not carry the writes past the block: every
    // byte beyond it keeps its guard value, and every stored pointer leads to a NUL inside.
    const char *lines[] = {"main.exe", "main.exe a \"b c\" d", "\"\"", "x y z w v u t s r q"};
    for (const char *line : lines) {
        uint32_t measured = 0;
        size_t size = Main_MeasureArgs(line, &measured);
        for (uint32_t count : {measured + 1, measured + 7, measured * 3 + 40, measured - 1, 1u}) {
            std::vector<char> block(size + 256, '\x7f');
            std::fill(block.begin(), block.begin() + size, '\0');
            Main_SplitArgs(line, count, block.data(), size);
            ASSERT_EQ(std::count(block.begin() + size, block.end(), '\x7f'), 256)
                << "[" << line << "] count " << count;
            char **pointers = (char **)block.data();
            char *end = block.data() + size;
            for (uint32_t i = 0; i < count && (i + 1) * sizeof(char *) <= size; i++) {
                char *p = pointers[i];
                ASSERT_TRUE(!p || (p >= block.data() && p < end && memchr(p, 0, end - p))) << line;
            }
        }
    }
}

TEST(SplitArgs, LongLineIsMeasuredInFull)
{
    // Far more than 16 bits of count and size, with real 8-byte pointers on this build.
    std::string line = "\"C:\\a path\\MAIN.exe\"";
    for (int i = 0; i < 200000; i++)
        line += i % 2 ? " word" : "  \"two words\"";
    EXPECT_TRUE(Split(line.c_str()) == ModelSplit(line)); // 200001 arguments
}

TEST(ArgumentTail, IsTheLineAfterTheProgramName)
{
    for (const auto &row : Cases("tail")) {
        const char *tail = Main_FindArgumentTail(row[0] ? row[0]->c_str() : nullptr);
        EXPECT_STREQ(tail ? tail : "(null)", row[1] ? row[1]->c_str() : "(null)")
            << "[" << row[0].value_or("null") << "]";
    }
}

} // namespace
