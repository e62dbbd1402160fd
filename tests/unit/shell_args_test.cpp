// Command-line splitting and the argument tail, against an independent model of the rules.
#include "shell/shell.h"
#include "tests/unit/args_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

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

TEST(SplitArgs, FollowsTheSplittingRules)
{
    const struct {
        const char *line;
        Args expected;
    } cases[] = {
        {"main.exe", {"main.exe"}},
        {"main.exe  -a   x", {"main.exe", "-a", "x"}},
        {"\"C:\\Program Files\\main.exe\" -x", {"C:\\Program Files\\main.exe", "-x"}},
        {"main.exe \" \"", {"main.exe", " "}},
        {"main.exe \"\"", {"main.exe", ""}},
        {"main.exe a ", {"main.exe", "a"}},
        {"main.exe a\"b c\"", {"main.exe", "a\"b", "c\""}},
        {"main.exe \"open to the end", {"main.exe", "open to the end"}},
        {"main.exe \"", {"main.exe", ""}},
        {"\"ab\"cd", {"ab", "cd"}},
        {"\"ab\"\"cd\"", {"ab", "cd"}},
        {"main.exe a\tb", {"main.exe", "a\tb"}},
        {"main.exe \\\"x\\", {"main.exe", "\\\"x\\"}},
        {"   leading", {"leading"}},
        {"   ", {}},
        {"", {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Split(c.line), c.expected) << "[" << c.line << "]";
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
    const struct {
        const char *line;
        const char *tail; // null: no tail
    } cases[] = {
        {"MAIN.exe", nullptr},
        {"MAIN.exe    ", nullptr},
        {"", nullptr},
        {nullptr, nullptr},
        {"MAIN.exe   a  b ", "a  b "},
        {"\"C:\\x y\\MAIN.exe\" tail  \"x y\"", "tail  \"x y\""},
        {"\"C:\\x y\\MAIN.exe\"tail", "tail"},
        {"\"C:\\x y\\MAIN.exe\"", nullptr},
        {"a\"b c\" d", "d"}, // a quote inside the name makes the quote the terminator
        {"MAIN.exe\t-x", nullptr},
    };
    for (const auto &c : cases) {
        const char *tail = Main_FindArgumentTail(c.line);
        EXPECT_STREQ(tail ? tail : "(null)", c.tail ? c.tail : "(null)")
            << "[" << (c.line ? c.line : "null") << "]";
    }
}

} // namespace
