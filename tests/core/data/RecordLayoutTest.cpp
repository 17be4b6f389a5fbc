// Byte-exact layouts of the user, class, common and result records, passwords, names and keys.
#include "data/ClassRecord.h"
#include "data/CommonRecord.h"
#include "data/ResultRecord.h"
#include "data/UserRecord.h"
#include "records/Cp1252.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <vector>

using namespace kalvintor::data;

namespace {

// A record's expected bytes: zero everywhere except the listed runs.
template <std::size_t N>
std::array<std::uint8_t, N> bytesWith(const std::map<std::size_t, std::vector<std::uint8_t>>& runs) {
    std::array<std::uint8_t, N> bytes{};
    for (const auto& [offset, run] : runs) std::copy(run.begin(), run.end(), bytes.begin() + offset);
    return bytes;
}

std::vector<std::uint8_t> shortString(const std::string& text) {
    std::vector<std::uint8_t> bytes(text.size() + 1);
    bytes[0] = static_cast<std::uint8_t>(text.size());
    std::copy(text.begin(), text.end(), bytes.begin() + 1);
    return bytes;
}

}  // namespace

TEST(RecordLayout, UserRecordIsWrittenAndReadAtItsOffsets) {
    UserRecord u;
    u.userId = 0x0107;
    u.accessLevel = kTeacher;
    u.loginName = "ANNA";
    u.password = ScramblePassword("abc");
    u.fullName = joinFullName("Anna", "Berg");
    u.privateDirectory = "/home/anna/";
    u.allowEditChords = false;
    u.tutorStep = {1, 2, 3, 4, 5, 6, 7, 8, 9, 300};
    u.reserved[0] = 0xAB;
    u.tutorFile = "English.tut";
    u.setupFile = "Basic.lvs";
    u.classId = -2;

    std::map<std::size_t, std::vector<std::uint8_t>> runs = {
        {0, {0x07, 0x01}},
        {4, {2, 0, 0, 0}},
        {8, shortString("ANNA")},
        {28, {3, 174, 222, 14}},
        {44, {9, 'A', 'n', 'n', 'a', 0xA7, 'B', 'e', 'r', 'g'}},
        {76, shortString("/home/anna/")},
        {226, {1, 1, 0, 1}},
        {272, {0xAB}},
        {312, shortString("English.tut")},
        {464, shortString("Basic.lvs")},
        {616, {0xFE, 0xFF}},
    };
    for (std::size_t e = 0; e < 9; ++e) runs[232 + 4 * e] = {static_cast<std::uint8_t>(e + 1), 0, 0, 0};
    runs[268] = {0x2C, 0x01, 0, 0};
    const auto expected = bytesWith<kUserRecordSize>(runs);

    EXPECT_EQ(encodeUserRecord(u), expected);
    EXPECT_EQ(decodeUserRecord(expected), u);
    EXPECT_FALSE(decodeUserRecord(std::span(expected).first(kUserRecordSize - 1)));
}

TEST(RecordLayout, DefaultUserIsAStudentWithEveryRightAndStepOne) {
    const UserRecord u;
    const auto bytes = encodeUserRecord(u);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[4], 1);
    EXPECT_EQ((std::vector<std::uint8_t>(bytes.begin() + 226, bytes.begin() + 230)),
              (std::vector<std::uint8_t>{1, 1, 1, 1}));
    for (std::size_t e = 0; e < 10; ++e) EXPECT_EQ(bytes[232 + 4 * e], 1);
    EXPECT_EQ(bytes[616], 0);
}

TEST(RecordLayout, PasswordsAreScrambledPerPositionAndRoundTrip) {
    const PasswordField abc = ScramblePassword("abc");
    EXPECT_EQ((std::vector<std::uint8_t>(abc.begin(), abc.begin() + 4)),
              (std::vector<std::uint8_t>{3, 174, 222, 14}));
    for (const std::string text : {"", "abc", "Secret-\xC3\xA6\xC3\xB8\xC3\xA5", "exactly15chars!"})
        EXPECT_EQ(UnscramblePassword(ScramblePassword(text)), text) << text;
    EXPECT_EQ(UnscramblePassword(ScramblePassword("sixteen-chars-xy")), "sixteen-chars-x");
    PasswordField tooLong = ScramblePassword("abc");
    tooLong[0] = 200;  // a damaged length byte reads as at most 15 characters
    EXPECT_EQ(kalvintor::records::utf8ToCp1252(UnscramblePassword(tooLong)).size(), 15u);
}

TEST(RecordLayout, NamesAreBuiltFromTheStoredFullName) {
    struct Case {
        std::string full, display, sort;
    };
    for (const Case& c :
         {Case{joinFullName("Anna", "Berg"), "Anna Berg", "Berg, Anna"},
          Case{"Madonna", "Madonna ", "Madonna"}, Case{joinFullName("", "Solo"), " Solo", "Solo, "}}) {
        EXPECT_EQ(DisplayName(c.full), c.display) << c.full;
        EXPECT_EQ(SortName(c.full), c.sort) << c.full;
    }
    EXPECT_EQ(compareIgnoringCase("\xC3\xA6rlig", "\xC3\x86RLIG"), 0);
    EXPECT_LT(compareIgnoringCase("berg", "Carlsen"), 0);
}

TEST(RecordLayout, ClassRecordIsWrittenAndReadAtItsOffsets) {
    const ClassRecord c{"4B", 12, 7, "Theory.tut"};
    const auto expected = bytesWith<kClassRecordSize>(
        {{0, shortString("4B")}, {32, {12, 0}}, {34, {7, 0}}, {36, shortString("Theory.tut")}});
    EXPECT_EQ(encodeClassRecord(c), expected);
    EXPECT_EQ(decodeClassRecord(expected), c);
    EXPECT_EQ(ClassRecord{}.tutorFile, "\\");  // a new class has no tutor
}

TEST(RecordLayout, CommonRecordDefaultsAndOffsets) {
    const auto defaults = bytesWith<kCommonRecordSize>({{0, {1, 1, 1, 0, 1, 0, 2, 0}}});
    EXPECT_EQ(encodeCommonRecord(CommonRecord{}), defaults);

    CommonRecord c;
    c.useSystemLogin = false;
    c.allowGuestLogin = false;
    c.nextClassId = 0x0203;
    c.nextUserId = 0x0405;
    c.commonDirectory = "/srv/school/";
    const auto expected =
        bytesWith<kCommonRecordSize>({{0, {0, 1, 0, 0, 3, 2, 5, 4}}, {8, shortString("/srv/school/")}});
    EXPECT_EQ(encodeCommonRecord(c), expected);
    EXPECT_EQ(decodeCommonRecord(expected), c);
}

TEST(RecordLayout, ResultRecordIsWrittenAndReadAtItsOffsets) {
    ResultRecord x;
    x.userId = 7;
    x.exercise = 3;
    x.sessionStart = 45000.5;
    x.duration = 0.25;
    x.answerTime = 0.125;
    x.tutorName = "Course";
    x.setupName = "Step one";
    x.tutorStep = 2;
    x.correct = 17;
    x.questions = 20;
    x.itemStats[0] = {1, 2};
    x.itemStats[59] = {0x0304, 0x0506};

    auto f64 = [](double v) {
        std::vector<std::uint8_t> b(8);
        std::memcpy(b.data(), &v, 8);  // the build machines are little-endian, as the files are
        return b;
    };
    const auto expected = bytesWith<kResultRecordSize>({
        {0, {7, 0, 3, 0}},
        {4, f64(45000.5)},
        {12, f64(0.25)},
        {20, f64(0.125)},
        {28, shortString("Course")},
        {80, shortString("Step one")},
        {132, {2, 0, 17, 0, 20, 0}},
        {138, {1, 0, 2, 0}},
        {374, {4, 3, 6, 5}},
    });
    EXPECT_EQ(encodeResultRecord(x), expected);
    EXPECT_EQ(decodeResultRecord(expected), x);
}

TEST(RecordLayout, ResultKeyIsTheHundredThousandthOfADayFollowedByTheExercise) {
    struct Case {
        double start;
        std::uint16_t exercise;
        std::string key;
    };
    for (const Case& c : {
             Case{40000.123456789, 3, "40000123453"},
             Case{42949.671875, 10, "429496718710"},  // just below 2^32
             Case{42949.6875, 3, "14543"},            // 4294968750 wraps around past 2^32
             Case{46000.5, 1, "3050827041"},
             Case{-0.5, 2, "42949172962"},  // negative dates wrap from the top
         }) {
        ResultRecord r;
        r.sessionStart = c.start;
        r.exercise = c.exercise;
        EXPECT_EQ(ResultKey(r), c.key) << c.start;
    }
}
