// A task as text: every key and value form it takes, every text it refuses with the
// place of the fault, and the messages a teacher reads.

#include <string>
#include <vector>

#include "model/TaskText.h"
#include "tests/support/PlainCheck.h"

using namespace procesor;

namespace {

using C = TaskCheck;
using Q = Quantity;

const std::string kHead = "název: Úloha\n";

TEST_CASE(everyKeyIsRead) {
    const ParsedTask p = parseTask("\xEF\xBB\xBF# pro 1.A\r\n"
                                   "název:  Pět a pět  # komentář\r\n"
                                   "zadání: Sečtěte\n"
                                   "\n"
                                   "zadání:\xC2\xA0 5 + 5.\n"
                                   "program: 0001 0101 1011 0101 1110\n"
                                   "nejvýše taktů: 50\n"
                                   "očekávám: zastaveno\n"
                                   "očekávám: A = 10\n"
                                   "očekávám:B=1010\n"
                                   "po taktu 9: PČ = 1\n"
                                   "po taktu   18 : PC = 0010\n"
                                   "očekávám: IR = 15\n"
                                   "očekávám: součet = 0\n"
                                   "očekávám: sběrnice = 14\n"
                                   "očekávám: RAM[4] = 1110\n"
                                   "očekávám: RAM[ 15 ] = 0\n"
                                   "předpovědí: 5\n");
    REQUIRE_MSG(p.ok(), taskErrorMessage(p.error));
    CHECK_EQ(p.task.name, "Pět a pět");
    CHECK_EQ(p.task.statement, "Sečtěte 5 + 5.");
    CHECK(p.task.hasProgram);
    CHECK((p.task.program == std::array<int, 16>{1, 5, 11, 5, 14}));
    CHECK_EQ(p.task.pulseLimit, 50);
    const std::vector<TaskCheck> expected = {
        {C::Halted, Q::A, 0, 0, 0, 8},       {C::Value, Q::A, 0, 10, 0, 9},
        {C::Value, Q::B, 0, 10, 0, 10},      {C::Value, Q::Pc, 0, 1, 9, 11},
        {C::Value, Q::Pc, 0, 2, 18, 12},     {C::Value, Q::Ir, 0, 15, 0, 13},
        {C::Value, Q::Sum, 0, 0, 0, 14},     {C::Value, Q::Bus, 0, 14, 0, 15},
        {C::Value, Q::Ram, 4, 14, 0, 16},    {C::Value, Q::Ram, 15, 0, 0, 17},
        {C::Predictions, Q::A, 0, 5, 0, 18},
    };
    REQUIRE_EQ(p.task.checks.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        CONTEXT("check " + std::to_string(i));
        CHECK(p.task.checks[i] == expected[i]);
    }
}

TEST_CASE(defaultsAndWords) {
    const ParsedTask p = parseTask(kHead + "očekávám: B = 0000\n");
    REQUIRE(p.ok());
    CHECK_EQ(p.task.pulseLimit, 1000);
    CHECK(!p.task.hasProgram);
    CHECK(p.task.statement.empty());
    // Every value in both forms; four digits of 0 and 1 are binary, anything shorter decimal.
    for (int v = 0; v < 16; ++v) {
        std::string bits;
        for (int w = 8; w >= 1; w /= 2) bits += (v & w) ? '1' : '0';
        for (const std::string& form : {std::to_string(v), bits}) {
            CONTEXT(form);
            const ParsedTask q = parseTask(kHead + "očekávám: A = " + form);
            REQUIRE(q.ok());
            CHECK_EQ(q.task.checks.front().value, v);
        }
    }
    CHECK_EQ(parseTask(kHead + "očekávám: A = 10").task.checks.front().value, 10);
    CHECK_EQ(parseTask(kHead + "očekávám: A = 0010").task.checks.front().value, 2);
    CHECK_EQ(parseTask(kHead + "nejvýše taktů: 100000\npo taktu 100000: A = 1").task.pulseLimit,
             100000);
}

TEST_CASE(theFingerprintFollowsWhatTheTaskSays) {
    const auto digest = [](const std::string& text) { return parseTask(text).task.digest; };
    const std::string task = kHead + "očekávám: A = 5\n";
    // Comments, blanks, empty lines and line ends do not change the task.
    CHECK_EQ(digest(task), digest("# nová verze\n  název: Úloha   \r\n\n očekávám: A = 5 # pět"));
    CHECK(digest(task) != digest(kHead + "očekávám: A = 6\n"));
    CHECK(digest(task) != digest("název: Úloha 2\nočekávám: A = 5\n"));
    CHECK(digest(task) != digest(task + "nejvýše taktů: 999\n"));
}

struct Refused {
    std::string text;
    TaskError::Kind kind;
    int line;
    int position;
    std::string what;
};

TEST_CASE(badTasksAreRefusedWithTheirPlace) {
    using E = TaskError;
    const std::vector<Refused> rows = {
        {"zadání: bez názvu\nočekávám: A = 1", E::NoName, 0, 0, ""},
        {kHead + "zadání: nic", E::NoChecks, 0, 0, ""},
        {kHead + "očekávám A = 5", E::UnknownKey, 2, 1, "očekávám"},
        {kHead + "  cíl: A = 5", E::UnknownKey, 2, 3, "cíl"},
        {kHead + "název: Jiná", E::Repeated, 2, 1, "název"},
        {kHead + "nejvýše taktů: 5\nnejvýše taktů: 6", E::Repeated, 3, 1, "nejvýše taktů"},
        {kHead + "program: 1110\nprogram: 1110", E::Repeated, 3, 1, "program"},
        {"název:   # prázdný\n", E::Empty, 1, 1, "název"},
        {kHead + "očekávám:", E::Empty, 2, 1, "očekávám"},
        {kHead + "nejvýše taktů: 0", E::BadNumber, 2, 16, "0"},
        {kHead + "nejvýše taktů: 100001", E::BadNumber, 2, 16, "100001"},
        {kHead + "nejvýše taktů: -5", E::BadNumber, 2, 16, "-5"},
        {kHead + "nejvýše taktů: tisíc", E::BadNumber, 2, 16, "tisíc"},
        {kHead + "po taktu x: A = 1", E::BadNumber, 2, 10, "x"},
        {kHead + "po taktu: A = 1", E::BadNumber, 2, 1, "po taktu"},
        {kHead + "po taktu 0: A = 1", E::BadNumber, 2, 10, "0"},
        {kHead + "předpovědí: 101", E::BadNumber, 2, 13, "101"},
        {kHead + "očekávám: C = 1", E::BadQuantity, 2, 11, "C"},
        {kHead + "očekávám: a = 1", E::BadQuantity, 2, 11, "a"},
        {kHead + "po taktu 3: zastaveno", E::BadCheck, 2, 13, "zastaveno"},
        {kHead + "očekávám: RAM[16] = 1", E::BadAddress, 2, 11, "RAM[16]"},
        {kHead + "očekávám: RAM[x] = 1", E::BadAddress, 2, 11, "RAM[x]"},
        {kHead + "očekávám: A = 16", E::BadValue, 2, 15, "16"},
        {kHead + "očekávám: A = 0102", E::BadValue, 2, 15, "0102"},
        {kHead + "očekávám: A = 00101", E::BadValue, 2, 15, "00101"},
        {kHead + "očekávám: A = pět", E::BadValue, 2, 15, "pět"},
        {kHead + "očekávám: A 5", E::BadCheck, 2, 11, "A 5"},
        {kHead + "očekávám: A =", E::BadCheck, 2, 11, "A ="},
        {kHead + "nejvýše taktů: 10\npo taktu 11: A = 1", E::AfterLimit, 3, 0, "11"},
        {kHead + "po taktu 1001: A = 1", E::AfterLimit, 2, 0, "1001"},
        // The program's first bad word, placed in the task's line: "č" counts once.
        {kHead + "program: 0001 0102\nočekávám: A = 1", E::BadProgram, 2, 15, "0001 0102"},
        {kHead + "program: ,,\nočekávám: A = 1", E::BadProgram, 2, 10, ",,"},
        {kHead + "očekávám: A = 1\n\xFF", E::NotUtf8, 3, 1, ""},
        {"název: Ú\xC5", E::NotUtf8, 1, 9, ""},
        {kHead + "zadání: " + std::string(kMaxTaskBytes, 'x'), E::TooLarge, 0, 0, ""},
    };
    for (const Refused& row : rows) {
        CONTEXT(row.text.substr(0, 60));
        const ParsedTask p = parseTask(row.text);
        CHECK_EQ(int(p.error.kind), int(row.kind));
        CHECK_EQ(p.error.line, row.line);
        CHECK_EQ(p.error.position, row.position);
        CHECK_EQ(p.error.text, row.what);
        CHECK(p.task.checks.empty() && p.task.name.empty());
        CHECK(!taskErrorMessage(p.error).empty());
    }
}

TEST_CASE(messagesSayWhatAndWhere) {
    const auto message = [](const std::string& text, std::string_view file = {}) {
        return taskErrorMessage(parseTask(text).error, file);
    };
    CHECK_EQ(message(kHead + "očekávám: C = 1", "u1.txt"),
             "Úloha ze souboru „u1.txt“ nebyla načtena: na 2. řádku, 11. pozici je „C“, ale "
             "kontrolovat lze jen A, B, PČ (nebo PC), IR, součet, sběrnice a RAM[n].");
    CHECK_EQ(message(kHead + "program: 0001 0102\nočekávám: A = 1"),
             "Úloha nebyla načtena: program úlohy je chybný: 2. slovo „0102“ na 2. řádku, 15. "
             "pozici není zapsáno čtyřmi číslicemi 0 nebo 1 (slovo se píše například 0101).");
    CHECK_EQ(message("očekávám: A = 1"),
             "Úloha nebyla načtena: chybí řádek „název: …“ s názvem úlohy.");
    CHECK_EQ(message(kHead + "nejvýše taktů: 10\npo taktu 11: A = 1"),
             "Úloha nebyla načtena: kontrola na 3. řádku je po 11. taktu, ale běh má nejvýše "
             "tolik taktů, kolik říká „nejvýše taktů:“.");
    // A long or strange piece is cut and its control characters replaced.
    const std::string m = message(kHead + std::string(200, 'k') + "\x01: x");
    CHECK(m.find("…") != std::string::npos);
    CHECK(m.size() < 400);
    CHECK(message(kHead + "x\x01y: 1").find("x\uFFFDy") != std::string::npos);
}

TEST_CASE(tasksAreToldFromPrograms) {
    CHECK(looksLikeTask("název: Pětka\nočekávám: A = 5"));
    CHECK(looksLikeTask("\xEF\xBB\xBF# úloha\n  název : Pětka"));
    CHECK(!looksLikeTask("0001 0101 1110 # název: není klíč"));
    CHECK(!looksLikeTask("0001 0101\n# název: v komentáři"));
    CHECK(!looksLikeTask("názvy: 1"));
    CHECK(!looksLikeTask(""));
}

} // namespace

PLAIN_TEST_MAIN()
